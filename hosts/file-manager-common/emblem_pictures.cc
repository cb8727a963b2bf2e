// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/emblem_pictures.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <array>

#include "badging/badge_set.h"
#include "platform/linux/cairo_drawing.h"
#include "platform/linux/png_export.h"

namespace quorbitz {
namespace {

// 24 px is the badge's own size; file managers ask for the larger ones when
// icons are zoomed or the screen is drawn at twice the scale.
constexpr std::array<int, 4> kEmblemPixels{24, 32, 48, 64};

std::string emblemFolder(const std::string& themeDir, std::string_view size) {
  return themeDir + "/" + std::string(size) + "/emblems";
}

std::string sizeFolderName(int pixels) {
  return std::to_string(pixels) + "x" + std::to_string(pixels);
}

}  // namespace

std::string emblemIconName(std::string_view identifier) {
  return "emblem-quorbitz-" + std::string(identifier);
}

std::string emblemPicturePath(const std::string& themeDir, int pixels,
                              std::string_view identifier) {
  return emblemFolder(themeDir, sizeFolderName(pixels)) + "/" + emblemIconName(identifier) +
         ".png";
}

bool writeEmblemPictures(FileSystem& files, const Image& image, std::string_view identifier,
                         const std::string& themeDir) {
  bool written = true;
  for (int pixels : kEmblemPixels) {
    written = files.createDirectories(emblemFolder(themeDir, sizeFolderName(pixels))) &&
              writePng(image, pixels / kBadgeSide,
                       emblemPicturePath(themeDir, pixels, identifier)) &&
              written;
  }
  return written;
}

// cairo's SVG surface keeps the disc and the symbol's outlines as vector
// paths, so the scalable emblem is the same drawing as the pictures.
bool writeScalableEmblem(FileSystem& files, const Image& image, std::string_view identifier,
                         const std::string& themeDir) {
  const std::string folder = emblemFolder(themeDir, "scalable");
  if (!files.createDirectories(folder)) return false;
  const std::string path = folder + "/" + emblemIconName(identifier) + ".svg";
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kBadgeSide, kBadgeSide);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  cairo_t* context = cairo_create(surface);
  const bool painted = paintImage(image, context);
  cairo_destroy(context);
  cairo_surface_finish(surface);
  const bool finished = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return painted && finished;
}

}  // namespace quorbitz
