// SPDX-License-Identifier: Apache-2.0
#include "thunar/shown_files.h"

#include <dlfcn.h>

#include <algorithm>
#include <optional>

#include "gtk-common/local_path.h"

namespace quorbitz {
namespace {

// The column of `model` whose values are Thunar's files; -1 for models of
// anything else (combo boxes, completion lists, ...).
int fileColumnOf(GtkTreeModel* model) {
  const int columns = gtk_tree_model_get_n_columns(model);
  for (int column = 0; column < columns; ++column) {
    if (g_type_is_a(gtk_tree_model_get_column_type(model, column), THUNARX_TYPE_FILE_INFO)) {
      return column;
    }
  }
  return -1;
}

// The tree model a widget shows, if it is a view with a "model" property.
GtkTreeModel* modelOf(GObject* widget) {
  GParamSpec* property = g_object_class_find_property(G_OBJECT_GET_CLASS(widget), "model");
  if (!property || !g_type_is_a(property->value_type, GTK_TYPE_TREE_MODEL)) return nullptr;
  GtkTreeModel* model = nullptr;
  g_object_get(widget, "model", &model, nullptr);
  return model;
}

// A window shows a few hundred items at most. Each costs Thunar about a
// millisecond to update in a folder of 10,000, so a longer range, which
// only a view in the middle of its layout could give, must not be handed
// over in one turn.
constexpr int kMostInSight = 500;

using VisibleRange = gboolean (*)(GtkWidget*, GtkTreePath**, GtkTreePath**);

// The first and last rows `view` shows, for Thunar's list view (a GTK tree
// view) and its icon and compact views (exo's icon view). The module does
// not link exo, which only some Thunar versions draw with: its function is
// looked up in the running Thunar, and a view of another kind shows none.
bool visibleRange(GtkWidget* view, GtkTreePath** first, GtkTreePath** last) {
  if (GTK_IS_TREE_VIEW(view))
    return gtk_tree_view_get_visible_range(GTK_TREE_VIEW(view), first, last);
  static const auto exoRange =
      reinterpret_cast<VisibleRange>(dlsym(RTLD_DEFAULT, "exo_icon_view_get_visible_range"));
  const GType exoIconView = g_type_from_name("ExoIconView");
  if (!exoRange || !exoIconView || !G_TYPE_CHECK_INSTANCE_TYPE(view, exoIconView)) return false;
  return exoRange(view, first, last);
}

}  // namespace

ShownFiles::ShownFiles(Handler onShown) : onShown_(std::move(onShown)) {
  // A signal exists once its class does, and Thunar may load extensions
  // before it has made a widget.
  gpointer widgetClass = g_type_class_ref(GTK_TYPE_WIDGET);
  mapSignal_ = g_signal_lookup("map", GTK_TYPE_WIDGET);
  mapHook_ = g_signal_add_emission_hook(mapSignal_, 0, &onWidgetMapped, this, nullptr);
  g_type_class_unref(widgetClass);
}

ShownFiles::~ShownFiles() {
  if (mapHook_) g_signal_remove_emission_hook(mapSignal_, mapHook_);
  for (const FollowedModel& followed : models_) {
    g_signal_handlers_disconnect_by_data(followed.model, this);
    g_object_weak_unref(G_OBJECT(followed.model), &onModelFinalized, this);
  }
  for (const auto& [file, path] : pathsByFile_) g_object_weak_unref(file, &onFileFinalized, this);
  for (GtkWidget* view : views_) g_object_weak_unref(G_OBJECT(view), &onViewFinalized, this);
}

// Views are mapped when a window opens and when the user switches between
// icon, list and compact views, each time with the model they show.
gboolean ShownFiles::onWidgetMapped(GSignalInvocationHint*, guint, const GValue* values,
                                    gpointer self) {
  try {
    auto* widget = static_cast<GObject*>(g_value_get_object(&values[0]));
    if (GtkTreeModel* model = widget ? modelOf(widget) : nullptr) {
      auto& shown = *static_cast<ShownFiles*>(self);
      if (shown.follow(model)) shown.watchView(GTK_WIDGET(widget));
      g_object_unref(model);
    }
  } catch (...) {
    // GTK is C: an exception must not cross into it.
  }
  return TRUE;
}

bool ShownFiles::follow(GtkTreeModel* model) {
  if (followed(model)) return true;
  const int fileColumn = fileColumnOf(model);
  if (fileColumn < 0) return false;
  models_.push_back({model, fileColumn});
  g_object_weak_ref(G_OBJECT(model), &onModelFinalized, this);
  g_signal_connect(model, "row-inserted", G_CALLBACK(&onRow), this);
  g_signal_connect(model, "row-changed", G_CALLBACK(&onRow), this);
  GtkTreeIter row;
  for (bool more = gtk_tree_model_get_iter_first(model, &row); more;
       more = gtk_tree_model_iter_next(model, &row)) {
    reportRow(model, &row);
  }
  return true;
}

const ShownFiles::FollowedModel* ShownFiles::followed(GtkTreeModel* model) const {
  auto found = std::find_if(models_.begin(), models_.end(),
                            [model](const FollowedModel& f) { return f.model == model; });
  return found == models_.end() ? nullptr : &*found;
}

void ShownFiles::watchView(GtkWidget* view) {
  if (std::find(views_.begin(), views_.end(), view) != views_.end()) return;
  views_.push_back(view);
  g_object_weak_ref(G_OBJECT(view), &onViewFinalized, this);
}

void ShownFiles::onViewFinalized(gpointer self, GObject* view) {
  std::erase(static_cast<ShownFiles*>(self)->views_, GTK_WIDGET(view));
}

std::vector<std::string> ShownFiles::namesInSight() const {
  std::vector<std::string> names;
  for (GtkWidget* view : views_) {
    if (!gtk_widget_get_mapped(view)) continue;
    GtkTreeModel* model = modelOf(G_OBJECT(view));
    if (!model) continue;
    const FollowedModel* files = followed(model);
    GtkTreePath* first = nullptr;
    GtkTreePath* last = nullptr;
    // Folder views are flat lists; the side pane's folder tree is left out
    // (its shortcuts list is not, and its few names do no harm).
    if (files && visibleRange(view, &first, &last) && gtk_tree_path_get_depth(first) == 1 &&
        gtk_tree_path_get_depth(last) == 1) {
      const int from = gtk_tree_path_get_indices(first)[0];
      const int to = std::min(gtk_tree_path_get_indices(last)[0], from + kMostInSight);
      GtkTreeIter row;
      for (int index = from; index <= to && gtk_tree_model_iter_nth_child(model, &row, nullptr, index);
           ++index) {
        GObject* object = nullptr;
        gtk_tree_model_get(model, &row, files->fileColumn, &object, -1);
        if (!object) continue;
        if (gchar* name = thunarx_file_info_get_name(THUNARX_FILE_INFO(object))) {
          names.emplace_back(name);
          g_free(name);
        }
        g_object_unref(object);
      }
    }
    if (first) gtk_tree_path_free(first);
    if (last) gtk_tree_path_free(last);
    g_object_unref(model);
  }
  return names;
}

void ShownFiles::onRow(GtkTreeModel* model, GtkTreePath*, GtkTreeIter* row, gpointer self) {
  try {
    static_cast<ShownFiles*>(self)->reportRow(model, row);
  } catch (...) {
    // GTK is C: an exception must not cross into it.
  }
}

void ShownFiles::onModelFinalized(gpointer self, GObject* model) {
  std::erase_if(static_cast<ShownFiles*>(self)->models_, [model](const FollowedModel& followed) {
    return G_OBJECT(followed.model) == model;
  });
}

void ShownFiles::onFileFinalized(gpointer self, GObject* file) {
  auto& shown = *static_cast<ShownFiles*>(self);
  auto path = shown.pathsByFile_.find(file);
  if (path == shown.pathsByFile_.end()) return;
  auto indexed = shown.filesByPath_.find(path->second);
  if (indexed != shown.filesByPath_.end() && indexed->second == file) {
    shown.filesByPath_.erase(indexed);
  }
  shown.pathsByFile_.erase(path);
}

void ShownFiles::reportRow(GtkTreeModel* model, GtkTreeIter* row) {
  const FollowedModel* files = followed(model);
  if (!files) return;
  GObject* object = nullptr;
  gtk_tree_model_get(model, row, files->fileColumn, &object, -1);
  if (!object) return;
  auto* file = THUNARX_FILE_INFO(object);
  if (std::optional<std::string> path = takeLocalPath(thunarx_file_info_get_location(file))) {
    remember(file, *path);
    onShown_(file, *path);
  }
  g_object_unref(object);
}

void ShownFiles::remember(ThunarxFileInfo* file, const std::string& path) {
  GObject* object = G_OBJECT(file);
  auto [known, added] = pathsByFile_.try_emplace(object, path);
  if (added) {
    g_object_weak_ref(object, &onFileFinalized, this);
  } else if (known->second != path) {
    known->second = path;  // renamed or moved
  }
  filesByPath_[path] = object;
}

void ShownFiles::announceChange(const std::string& path) {
  auto found = filesByPath_.find(path);
  if (found == filesByPath_.end()) return;
  thunarx_file_info_changed(THUNARX_FILE_INFO(found->second));
}

}  // namespace quorbitz
