// SPDX-License-Identifier: Apache-2.0
#include "nautilus/emblem_icons.h"

#include <fcntl.h>
#include <gtk/gtk.h>
#include <sys/stat.h>

#include <array>

#include "platform/linux/png_export.h"

namespace quorbitz {
namespace {

struct EmblemSize {
  std::string_view folder;
  double scale;
};

// The badge is 24 points; 48 px serves windows drawn at twice the scale.
constexpr std::array<EmblemSize, 2> kEmblemSizes{{{"24x24", 1}, {"48x48", 2}}};

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

}  // namespace

std::string emblemIconName(std::string_view identifier) {
  return "emblem-quorbitz-" + std::string(identifier);
}

EmblemIcons::EmblemIcons(FileSystem& files, std::optional<std::string> dataDir)
    : files_(files) {
  if (dataDir) themeDir_ = *dataDir + "/icons/hicolor";
}

bool EmblemIcons::install(const Image& image, std::string_view identifier) {
  if (!themeDir_) return false;
  bool written = true;
  for (const EmblemSize& size : kEmblemSizes) {
    const std::string folder = *themeDir_ + "/" + std::string(size.folder) + "/emblems";
    written = files_.createDirectories(folder) &&
              writePng(image, size.scale, folder + "/" + emblemIconName(identifier) + ".png") &&
              written;
  }
  // A theme folder newer than its icon-theme.cache makes GTK ignore the
  // cache, which would otherwise hide the new files from every program.
  utimensat(AT_FDCWD, themeDir_->c_str(), nullptr, 0);
  rereadIconTheme();
  return written;
}

}  // namespace quorbitz
