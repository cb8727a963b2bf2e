// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/emblem_pictures.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "badging/badge_set.h"
#include "platform/linux/cairo_drawing.h"
#include "platform/linux/png_export.h"

namespace quorbitz {
namespace {

// 24 px is the badge's own size; file managers ask for the larger ones when
// icons are zoomed or the screen is drawn at twice the scale, and for 16 px in
// list views and at small zoom levels, where the small badge stands in.
constexpr std::array<int, 4> kEmblemPixels{24, 32, 48, 64};
constexpr int kSmallEmblemPixels = 16;
// The symbol's share of the small disc, against the badge's 0.62.
constexpr double kSmallSymbolShare = 11.0 / 16;

std::string emblemFolder(const std::string& themeDir, std::string_view size) {
  return themeDir + "/" + std::string(size) + "/emblems";
}

std::string sizeFolderName(int pixels) {
  return std::to_string(pixels) + "x" + std::to_string(pixels);
}

std::optional<BadgeDefinition> badgeDefinition(std::string_view identifier) {
  const std::optional<BadgeId> id = badgeIdFromText(identifier);
  if (!id) return std::nullopt;
  return kBadgeDefinitions[static_cast<size_t>(*id)];
}

}  // namespace

ImageRef smallBadgeImage(Drawing& drawing, std::string_view symbolName,
                         SystemColor discColor) {
  constexpr double side = kSmallEmblemPixels;
  std::unique_ptr<Canvas> canvas = drawing.beginImage({side, side});
  canvas->fillOval({{0, 0}, {side, side}}, discColor);
  ImageRef symbol = drawing.systemSymbol(symbolName, std::nullopt);
  if (symbol) {
    const SymbolConfiguration white{{SystemColor::white}, side * kSmallSymbolShare,
                                    FontWeight::bold};
    if (ImageRef configured = drawing.configuredSymbol(*symbol, white)) {
      symbol = std::move(configured);
    }
    const Size drawn = symbol->size();
    const double scale = side * kSmallSymbolShare /
                         std::max({drawn.width, drawn.height, 1.0});
    const Size fitted{std::round(drawn.width * scale), std::round(drawn.height * scale)};
    // Whole-pixel edges keep the symbol's straight strokes sharp; the second
    // copy half a pixel to the right and up thickens every stroke by half a
    // pixel, so that none is thinner than the pixel it falls on.
    const Point origin{std::round((side - fitted.width - 0.5) / 2),
                       std::round((side - fitted.height - 0.5) / 2)};
    for (const double shift : {0.0, 0.5}) {
      canvas->drawImage(*symbol, {{origin.x + shift, origin.y + shift}, fitted},
                        CompositingOperation::sourceOver, 1.0);
    }
  }
  return canvas->finish();
}

std::string emblemIconName(std::string_view identifier) {
  return "emblem-quorbitz-" + std::string(identifier);
}

std::string emblemPicturePath(const std::string& themeDir, int pixels,
                              std::string_view identifier) {
  return emblemFolder(themeDir, sizeFolderName(pixels)) + "/" + emblemIconName(identifier) +
         ".png";
}

bool writeEmblemPictures(FileSystem& files, Drawing& drawing, const Image& image,
                         std::string_view identifier, const std::string& themeDir) {
  const std::optional<BadgeDefinition> badge = badgeDefinition(identifier);
  const ImageRef small = badge ? smallBadgeImage(drawing, badge->symbol, badge->discColor)
                               : nullptr;
  const Image& smallImage = small ? *small : image;
  bool written =
      files.createDirectories(emblemFolder(themeDir, sizeFolderName(kSmallEmblemPixels))) &&
      writePng(smallImage, kSmallEmblemPixels / smallImage.size().width,
               emblemPicturePath(themeDir, kSmallEmblemPixels, identifier));
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
