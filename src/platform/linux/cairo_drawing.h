// SPDX-License-Identifier: Apache-2.0
// Drawing on Linux: cairo for the shapes, the desktop icon theme's symbolic
// icons (loaded with librsvg) for the system symbols.
//
// How this differs from the drawing system the seam was modelled on: images
// are not bitmaps but records of what was drawn, rasterised later at whatever
// scale is needed (png_export.h); symbols are SVG files of a single weight, so
// a configured symbol keeps the requested weight without changing its shape.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

// cairo's context type, named here so that callers need not include cairo.
using cairo_t = struct _cairo;

namespace quorbitz {

class CairoDrawing final : public Drawing {
 public:
  // "Adwaita", then "hicolor", each under every folder of $XDG_DATA_DIRS
  // (default /usr/local/share:/usr/share) followed by "/icons/".
  static std::vector<std::string> defaultIconThemeDirectories();

  // Symbols are looked up in `iconThemeDirectories` in order; the first theme
  // that has the icon wins.
  explicit CairoDrawing(
      std::vector<std::string> iconThemeDirectories = defaultIconThemeDirectories());
  ~CairoDrawing() override;
  CairoDrawing(const CairoDrawing&) = delete;
  CairoDrawing& operator=(const CairoDrawing&) = delete;

  std::unique_ptr<Canvas> beginImage(Size size) override;
  // nullptr for a name with no theme icon, or when the icon's file is missing
  // or unreadable. Each icon file is read once per CairoDrawing.
  ImageRef systemSymbol(
      std::string_view name,
      std::optional<std::string_view> accessibilityDescription) override;
  // nullptr when `symbol` is not a symbol from systemSymbol, or the point size
  // is not a positive number. The first palette colour, if any, recolours it.
  ImageRef configuredSymbol(const Image& symbol,
                            const SymbolConfiguration& configuration) override;
  ImageRef emptyImage() override;

 private:
  class SvgCache;
  std::vector<std::string> iconThemeDirectories_;
  std::unique_ptr<SvgCache> svgs_;
};

// Paints `image` into the rectangle (0, 0, width, height) of `context`'s user
// space, whose origin cairo puts at the top-left. Operations with unusable
// geometry draw nothing. False when `image` was not made by a CairoDrawing or
// the context ended in an error state.
bool paintImage(const Image& image, cairo_t* context);

}  // namespace quorbitz
