// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/emblem_icons.h"

#include <glib.h>
#include <unistd.h>

#include "file-manager-common/desktop.h"
#include "platform/linux/cairo_drawing.h"

namespace quorbitz {

EmblemIcons::EmblemIcons(FileSystem& files, std::optional<std::string> privateDir)
    : files_(files), privateDir_(std::move(privateDir)) {}

std::optional<std::string> EmblemIcons::privateEmblemFolder() {
  const char* runtime = g_get_user_runtime_dir();
  if (!runtime || runtime[0] != '/') return std::nullopt;
  return std::string(runtime) + "/quorbitz/icons";
}

bool EmblemIcons::install(const Image& image, std::string_view identifier) {
  if (systemThemeHasEmblem(identifier)) return true;
  if (!privateDir_) return false;
  CairoDrawing drawing;
  const bool written =
      writeEmblemPictures(files_, drawing, image, identifier, *privateDir_ + "/hicolor");
  // The folder is added once; adding it rereads the themes, which a picture
  // drawn after the first needs as well.
  if (!addIconSearchFolder(*privateDir_)) return false;
  rereadIconTheme();
  return written;
}

bool systemThemeHasEmblem(std::string_view identifier) {
  for (const char* const* dir = g_get_system_data_dirs(); *dir; ++dir) {
    const std::string picture =
        emblemPicturePath(std::string(*dir) + "/icons/hicolor", 24, identifier);
    if (access(picture.c_str(), R_OK) == 0) return true;
  }
  return false;
}

}  // namespace quorbitz
