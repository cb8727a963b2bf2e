// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/png_export.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/linux/cairo_drawing.h"
#include "platform/posix/posix_file_system.h"

namespace quorbitz {
namespace {

// cairo's image surfaces are limited to this many pixels a side.
constexpr double kMaximumPixels = 32767;

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

std::optional<int> pixelLength(double points, double scale) {
  const double pixels = std::ceil(points * scale);
  if (!std::isfinite(pixels) || pixels < 0 || pixels > kMaximumPixels) {
    return std::nullopt;
  }
  return static_cast<int>(pixels);
}

SurfacePtr render(const Image& image, double scale) {
  SurfacePtr none(nullptr, cairo_surface_destroy);
  if (!std::isfinite(scale) || scale <= 0) return none;
  const std::optional<int> width = pixelLength(image.size().width, scale);
  const std::optional<int> height = pixelLength(image.size().height, scale);
  if (!width || !height) return none;
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, *width, *height),
                     cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return none;
  cairo_t* context = cairo_create(surface.get());
  cairo_scale(context, scale, scale);
  const bool painted = paintImage(image, context);
  cairo_destroy(context);
  cairo_surface_flush(surface.get());
  if (!painted) return none;
  return surface;
}

// cairo stores colour premultiplied by alpha.
uint32_t straightAlpha(uint32_t premultiplied) {
  const uint32_t alpha = premultiplied >> 24;
  if (alpha == 0) return 0;
  const auto channel = [&](int shift) {
    const uint32_t value = (premultiplied >> shift) & 0xFF;
    return std::min<uint32_t>(0xFF, (value * 0xFF + alpha / 2) / alpha) << shift;
  };
  return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

}  // namespace

uint32_t Raster::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return pixels[static_cast<size_t>(y) * width + x];
}

std::optional<Raster> rasterise(const Image& image, double scale) {
  const SurfacePtr surface = render(image, scale);
  if (!surface) return std::nullopt;
  Raster raster;
  raster.width = cairo_image_surface_get_width(surface.get());
  raster.height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  raster.pixels.reserve(static_cast<size_t>(raster.width) * raster.height);
  for (int y = 0; y < raster.height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < raster.width; ++x) raster.pixels.push_back(straightAlpha(row[x]));
  }
  return raster;
}

bool writePng(const Image& image, double scale, const std::string& path) {
  const SurfacePtr surface = render(image, scale);
  if (!surface || cairo_image_surface_get_width(surface.get()) == 0 ||
      cairo_image_surface_get_height(surface.get()) == 0) {
    return false;
  }
  std::string png;
  const cairo_write_func_t collect = [](void* into, const unsigned char* data,
                                        unsigned int length) {
    static_cast<std::string*>(into)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_write_to_png_stream(surface.get(), collect, &png) !=
      CAIRO_STATUS_SUCCESS) {
    return false;
  }
  // The picture folder may be one that other users can write to: what
  // stands at `path` is replaced, never written through.
  return replaceFile(path, png);
}

}  // namespace quorbitz
