// SPDX-License-Identifier: Apache-2.0
// Badge pictures laid out as emblems of an icon theme. The same code draws the
// pictures the packages ship (hosts/gtk-common/tools/) and the ones an
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

// Writes `image`, a 24-point badge, as `identifier`'s emblem at every size the
// file managers draw emblems at, into `themeDir`. False when any file could
// not be written.
bool writeEmblemPictures(FileSystem& files, const Image& image, std::string_view identifier,
                         const std::string& themeDir);

// Writes `image` as the theme's scalable emblem (an SVG file). False when it
// could not.
bool writeScalableEmblem(FileSystem& files, const Image& image, std::string_view identifier,
                         const std::string& themeDir);

}  // namespace quorbitz
