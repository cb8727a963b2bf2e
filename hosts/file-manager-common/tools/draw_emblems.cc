// SPDX-License-Identifier: Apache-2.0
// Draws the six badges as emblems of a hicolor theme folder at build time,
// with the drawing code the extension itself uses, for the packages to ship.
// Usage: quorbitz-draw-emblems THEME_DIR
#include <cstdio>
#include <memory>
#include <string>

#include "badging/badge_set.h"
#include "file-manager-common/emblem_pictures.h"
#include "platform/linux/cairo_drawing.h"
#include "platform/posix/posix_file_system.h"

int main(int argc, char** argv) {
  using namespace quorbitz;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s THEME_DIR\n", argv[0]);
    return 2;
  }
  const std::string themeDir = argv[1];
  CairoDrawing drawing;
  std::unique_ptr<FileSystem> files = newPosixFileSystem();
  for (const BadgeDefinition& badge : kBadgeDefinitions) {
    // Without the symbol the badge would be a plain disc: not worth shipping.
    if (!drawing.systemSymbol(badge.symbol, std::nullopt)) {
      std::fprintf(stderr, "%s: no icon for the symbol %.*s (apt-get install adwaita-icon-theme)\n",
                   argv[0], static_cast<int>(badge.symbol.size()), badge.symbol.data());
      return 1;
    }
    ImageRef image = badgeImage(drawing, badge.symbol, badge.discColor);
    if (!image || !writeEmblemPictures(*files, drawing, *image, badge.identifier, themeDir) ||
        !writeScalableEmblem(*files, *image, badge.identifier, themeDir)) {
      std::fprintf(stderr, "%s: could not draw the %.*s emblem into %s\n", argv[0],
                   static_cast<int>(badge.identifier.size()), badge.identifier.data(),
                   themeDir.c_str());
      return 1;
    }
  }
  return 0;
}
