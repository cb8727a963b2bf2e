// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/gtk3_views_in_sight.h"

#include <dlfcn.h>

#include <algorithm>

namespace quorbitz {
namespace {

// A window shows a few hundred items at most; a longer range, which only a
// view in the middle of its layout could give, is cut here.
constexpr int kMostInSightPerView = 500;

using VisibleRange = gboolean (*)(GtkWidget*, GtkTreePath**, GtkTreePath**);

// The function that gives the first and last rows `view` shows: GTK's for
// a tree view (the list views), exo's for its icon view (Thunar's icon and
// compact views), none for other widgets. The modules do not link exo,
// which only some Thunar versions draw with: its function is looked up in
// the running file manager.
VisibleRange visibleRangeOf(GtkWidget* view) {
  if (GTK_IS_TREE_VIEW(view)) {
    return [](GtkWidget* tree, GtkTreePath** first, GtkTreePath** last) {
      return gtk_tree_view_get_visible_range(GTK_TREE_VIEW(tree), first, last);
    };
  }
  static const auto exoRange =
      reinterpret_cast<VisibleRange>(dlsym(RTLD_DEFAULT, "exo_icon_view_get_visible_range"));
  const GType exoIconView = g_type_from_name("ExoIconView");
  if (!exoRange || !exoIconView || !G_TYPE_CHECK_INSTANCE_TYPE(view, exoIconView)) return nullptr;
  return exoRange;
}

// Folder views are flat lists; a folder tree (a side pane's, or a list
// view's expanded folders) is left out.
void readRows(const FolderViews& views, GtkWidget* view, std::vector<std::string>& names) {
  const VisibleRange visibleRange = visibleRangeOf(view);
  GtkTreeModel* model = visibleRange ? modelOf(G_OBJECT(view)) : nullptr;
  if (!model) return;
  const int fileColumn = fileColumnOf(model, views.fileType);
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  if (fileColumn >= 0 && visibleRange(view, &first, &last) &&
      gtk_tree_path_get_depth(first) == 1 && gtk_tree_path_get_depth(last) == 1) {
    const int from = gtk_tree_path_get_indices(first)[0];
    const int to = std::min(gtk_tree_path_get_indices(last)[0], from + kMostInSightPerView - 1);
    GtkTreeIter row;
    for (int index = from;
         index <= to && gtk_tree_model_iter_nth_child(model, &row, nullptr, index); ++index) {
      GObject* file = nullptr;
      gtk_tree_model_get(model, &row, fileColumn, &file, -1);
      if (!file) continue;
      if (gchar* name = views.nameOf(file)) {
        names.emplace_back(name);
        g_free(name);
      }
      g_object_unref(file);
    }
  }
  if (first) gtk_tree_path_free(first);
  if (last) gtk_tree_path_free(last);
  g_object_unref(model);
}

struct Walk {
  const FolderViews& views;
  std::vector<std::string>& names;
};

void readMapped(GtkWidget* widget, gpointer walk);

void readWidget(GtkWidget* widget, Walk& walk) {
  if (walk.views.readCanvas && walk.views.readCanvas(widget, walk.names)) return;
  readRows(walk.views, widget, walk.names);
  if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), &readMapped, &walk);
}

// Unmapped widgets, such as the views of the tabs in the background, show
// nothing, and neither do their children.
void readMapped(GtkWidget* widget, gpointer walk) {
  try {
    if (gtk_widget_get_mapped(widget)) readWidget(widget, *static_cast<Walk*>(walk));
  } catch (...) {
    // GTK is C: an exception must not cross into it. The names so far stand.
  }
}

}  // namespace

std::vector<std::string> namesInSightOf(const FolderViews& views) {
  std::vector<std::string> names;
  Walk walk{views, names};
  GList* windows = gtk_window_list_toplevels();
  for (GList* window = windows; window; window = window->next)
    readMapped(GTK_WIDGET(window->data), &walk);
  g_list_free(windows);
  return names;
}

int fileColumnOf(GtkTreeModel* model, GType fileType) {
  const int columns = gtk_tree_model_get_n_columns(model);
  for (int column = 0; column < columns; ++column) {
    if (g_type_is_a(gtk_tree_model_get_column_type(model, column), fileType)) return column;
  }
  return -1;
}

GtkTreeModel* modelOf(GObject* widget) {
  GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(widget), "model");
  if (!property || !g_type_is_a(property->value_type, GTK_TYPE_TREE_MODEL)) return nullptr;
  GtkTreeModel* model = nullptr;
  g_object_get(widget, "model", &model, nullptr);
  return model;
}

}  // namespace quorbitz
