// SPDX-License-Identifier: Apache-2.0
// Badge pictures laid out as emblems of an icon theme. The same code draws the
// pictures the packages ship (tools/draw_emblems.cc) and the ones an
// extension run from the build tree makes for itself.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz {

// The icon name the file manager is given for a badge identifier.
std::string emblemIconName(std::string_view identifier);

// The file of `identifier`'s emblem at `pixels` px in the theme folder
// `themeDir` (e.g. .../icons/hicolor).
std::string emblemPicturePath(const std::string& themeDir, int pixels,
                              std::string_view identifier);

// The badge redrawn for 16 px: scaled down, the 24-point badge's symbol
// would be 10 px wide with strokes thinner than a pixel, blurred into the
// disc. Here the disc fills the square and the symbol, 11 px of its 16,
// sits on whole pixels with its strokes thickened by half a pixel.
ImageRef smallBadgeImage(Drawing& drawing, std::string_view symbolName,
                         SystemColor discColor);

// Writes `identifier`'s emblem at every size the file managers draw emblems
// at into `themeDir`: `image`, a 24-point badge, from 24 px up, and at 16 px
// the small badge `drawing` draws for it (`image` for an identifier that is
// not a badge's). False when any file could not be written.
bool writeEmblemPictures(FileSystem& files, Drawing& drawing, const Image& image,
                         std::string_view identifier, const std::string& themeDir);

// Writes `image` as the theme's scalable emblem (an SVG file). False when it
// could not.
bool writeScalableEmblem(FileSystem& files, const Image& image, std::string_view identifier,
                         const std::string& themeDir);

}  // namespace quorbitz
