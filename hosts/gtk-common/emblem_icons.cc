// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/emblem_icons.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>

#include "gtk-common/desktop.h"
#include "platform/linux/png_export.h"

namespace quorbitz {
namespace {

struct EmblemSize {
  std::string_view folder;
  double scale;
};

// The badge is 24 points; 48 px serves windows drawn at twice the scale.
constexpr std::array<EmblemSize, 2> kEmblemSizes{{{"24x24", 1}, {"48x48", 2}}};

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
    written =
        files_.createDirectories(folder) &&
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
