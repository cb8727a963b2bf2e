// SPDX-License-Identifier: Apache-2.0
#include <gtk/gtk.h>

#include <string>

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

}  // namespace quorbitz
