// SPDX-License-Identifier: Apache-2.0
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "file-manager-common/desktop.h"

namespace quorbitz {

bool setClipboardText(std::string_view text) {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return false;
  GdkClipboard* clipboard = gdk_display_get_clipboard(display);
  if (!clipboard) return false;
  gdk_clipboard_set_text(clipboard, std::string(text).c_str());
  return true;
}

// A theme that GTK loaded before the files existed is not looked at again for
// five seconds, long enough for Nautilus to drop the emblems as unknown.
// Setting the search path, even to itself, makes GTK reread the themes.
void rereadIconTheme() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return;
  GtkIconTheme* theme = gtk_icon_theme_get_for_display(display);
  if (!theme) return;
  char** searchPath = gtk_icon_theme_get_search_path(theme);
  if (!searchPath) return;
  gtk_icon_theme_set_search_path(theme, searchPath);
  g_strfreev(searchPath);
}

bool addIconSearchFolder(const std::string& folder) {
  GdkDisplay* display = gdk_display_get_default();
  GtkIconTheme* theme = display ? gtk_icon_theme_get_for_display(display) : nullptr;
  if (!theme) return false;
  char** searchPath = gtk_icon_theme_get_search_path(theme);
  const bool present = searchPath && g_strv_contains(searchPath, folder.c_str());
  g_strfreev(searchPath);
  if (!present) gtk_icon_theme_add_search_path(theme, folder.c_str());
  return true;
}

namespace {

void collectLabels(GtkWidget* widget, std::vector<std::string>& names) {
  for (GtkWidget* child = gtk_widget_get_first_child(widget); child;
       child = gtk_widget_get_next_sibling(child)) {
    if (GTK_IS_LABEL(child)) {
      const char* text = gtk_label_get_text(GTK_LABEL(child));
      if (text && *text) names.emplace_back(text);
    }
    collectLabels(child, names);
  }
}

// A list or grid view makes a widget only for each item near its visible
// part, one child per item (per row in a list of columns); an item whose
// child overlaps the view's own allocation is in sight, even where its name
// is cut off. Each item shows its name as a label, in every view GTK 4's
// file managers build of these widgets.
void collectItemsInSight(GtkWidget* view, std::vector<std::string>& names) {
  const auto width = static_cast<float>(gtk_widget_get_width(view));
  const auto height = static_cast<float>(gtk_widget_get_height(view));
  for (GtkWidget* item = gtk_widget_get_first_child(view); item;
       item = gtk_widget_get_next_sibling(item)) {
    graphene_rect_t bounds;
    if (!gtk_widget_get_mapped(item) || !gtk_widget_compute_bounds(item, view, &bounds))
      continue;
    if (bounds.origin.x + bounds.size.width > 0 && bounds.origin.x < width &&
        bounds.origin.y + bounds.size.height > 0 && bounds.origin.y < height) {
      collectLabels(item, names);
    }
  }
}

void collectViewsInSight(GtkWidget* widget, std::vector<std::string>& names) {
  for (GtkWidget* child = gtk_widget_get_first_child(widget); child;
       child = gtk_widget_get_next_sibling(child)) {
    if (!gtk_widget_get_mapped(child)) continue;
    if (GTK_IS_GRID_VIEW(child) || GTK_IS_LIST_VIEW(child)) {
      collectItemsInSight(child, names);
    } else {
      collectViewsInSight(child, names);
    }
  }
}

}  // namespace

std::vector<std::string> namesInSight() {
  std::vector<std::string> names;
  GListModel* windows = gtk_window_get_toplevels();
  const guint count = windows ? g_list_model_get_n_items(windows) : 0;
  for (guint index = 0; index < count; ++index) {
    auto* window = static_cast<GtkWidget*>(g_list_model_get_item(windows, index));
    if (!window) continue;
    if (gtk_widget_get_mapped(window)) collectViewsInSight(window, names);
    g_object_unref(window);
  }
  return names;
}

}  // namespace quorbitz
