// SPDX-License-Identifier: Apache-2.0
// Turning recorded images into pixels: for files handed to other programs, and
// for tests that look at what was drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorbitz {

// Pixels in rows from top to bottom, each 0xAARRGGBB with straight (not
// premultiplied) alpha.
struct Raster {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  // 0 (clear) outside the raster.
  uint32_t at(int x, int y) const;
};

// `image`, made by a CairoDrawing, at `scale` pixels per point on a clear
// background: ceil(width * scale) by ceil(height * scale) pixels. nullopt when
// the image is from elsewhere, the scale is not a positive number, or the
// raster would be larger than cairo can hold.
std::optional<Raster> rasterise(const Image& image, double scale);

// Writes `image` rasterised at `scale` to a PNG file at `path`, replacing
// whatever stands there (a link is replaced, not followed). False on any
// failure, including an image with no pixels (PNG has no empty images).
bool writePng(const Image& image, double scale, const std::string& path);

}  // namespace quorbitz
