// SPDX-License-Identifier: Apache-2.0
#include <gtk/gtk.h>

#include <string>

#include "file-manager-common/desktop.h"

namespace quorbitz {

bool setClipboardText(std::string_view text) {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return false;
  GtkClipboard* clipboard =
      gtk_clipboard_get_for_display(display, GDK_SELECTION_CLIPBOARD);
  if (!clipboard) return false;
  const std::string copy(text);
  gtk_clipboard_set_text(clipboard, copy.c_str(), static_cast<gint>(copy.size()));
  return true;
}

// GTK 3 looks at the theme folders again only every few seconds, and the file
// manager asks for the emblems before that. Setting the search path, even to
// itself, makes GTK reread the themes.
void rereadIconTheme() {
  GdkScreen* screen = gdk_screen_get_default();
  if (!screen) return;
  GtkIconTheme* theme = gtk_icon_theme_get_for_screen(screen);
  if (!theme) return;
  gchar** searchPath = nullptr;
  gint count = 0;
  gtk_icon_theme_get_search_path(theme, &searchPath, &count);
  if (!searchPath) return;
  gtk_icon_theme_set_search_path(theme, const_cast<const gchar**>(searchPath), count);
  g_strfreev(searchPath);
}

bool addIconSearchFolder(const std::string& folder) {
  GdkScreen* screen = gdk_screen_get_default();
  GtkIconTheme* theme = screen ? gtk_icon_theme_get_for_screen(screen) : nullptr;
  if (!theme) return false;
  gchar** searchPath = nullptr;
  gtk_icon_theme_get_search_path(theme, &searchPath, nullptr);
  const bool present = searchPath && g_strv_contains(searchPath, folder.c_str());
  g_strfreev(searchPath);
  if (!present) gtk_icon_theme_append_search_path(theme, folder.c_str());
  return true;
}

// GTK 3's file managers draw their icon views on one canvas of their own,
// which names no item to the toolkit.
std::vector<std::string> namesInSight() { return {}; }

}  // namespace quorbitz
