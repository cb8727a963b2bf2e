// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/emblem_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "badging/badge_set.h"
#include "platform/linux/cairo_drawing.h"
#include "platform/linux/png_export.h"

namespace quorbitz {
namespace {

// Pixels of the symbol that are white and opaque: what stays legible.
int solidWhitePixels(const Image& image, double scale) {
  const std::optional<Raster> raster = rasterise(image, scale);
  if (!raster) return -1;
  return static_cast<int>(std::count(raster->pixels.begin(), raster->pixels.end(), 0xFFFFFFFF));
}

TEST(EmblemPictures, SmallBadgeKeepsEverySymbolSolidAt16Pixels) {
  CairoDrawing drawing;
  for (const BadgeDefinition& badge : kBadgeDefinitions) {
    const ImageRef small = smallBadgeImage(drawing, badge.symbol, badge.discColor);
    const ImageRef large = badgeImage(drawing, badge.symbol, badge.discColor);
    ASSERT_TRUE(small && large);
    const std::optional<Raster> raster = rasterise(*small, 1);
    ASSERT_TRUE(raster);
    EXPECT_EQ(raster->width, 16);
    EXPECT_EQ(raster->at(0, 0), 0u) << badge.identifier;
    const int solid = solidWhitePixels(*small, 1);
    const int scaledDown = solidWhitePixels(*large, 16.0 / 24);
    // Scaled down, the check mark and the minus bar keep no solid pixel.
    EXPECT_GE(solid, 5) << badge.identifier;
    EXPECT_GT(solid, scaledDown) << badge.identifier;
  }
}

}  // namespace
}  // namespace quorbitz
