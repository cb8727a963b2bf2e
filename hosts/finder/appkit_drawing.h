// SPDX-License-Identifier: Apache-2.0
// Drawing with AppKit: an image is an NSImage whose drawing handler replays
// what was drawn on its canvas, at the size and scale it is shown at; a
// system symbol is the system's own symbol image.
//
// The controller draws each badge with these calls in this order:
// beginImage, fillOval (recorded: the colour's setFill, then the oval's
// fill), systemSymbol (imageWithSystemSymbolName:), configuredSymbol (the
// version test, then the palette and size configurations combined and
// applied), the symbol's size, drawImage (recorded:
// drawInRect:fromRect:operation:fraction:) and finish (NSImage
// imageWithSize:flipped:drawingHandler: around the recorded steps).
#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz::finder {

class AppKitDrawing final : public Drawing {
 public:
  std::unique_ptr<Canvas> beginImage(Size size) override;
  // nullptr on systems before macOS 11, which have no symbol images.
  ImageRef systemSymbol(std::string_view name,
                        std::optional<std::string_view> accessibilityDescription) override;
  // nullptr on systems before macOS 12, which draw the symbol unconfigured.
  ImageRef configuredSymbol(const Image& symbol,
                            const SymbolConfiguration& configuration) override;
  ImageRef emptyImage() override;
};

// The NSImage behind an image an AppKitDrawing made; nil for any other.
NSImage* _Nullable nsImageOf(const ImageRef& image);

}  // namespace quorbitz::finder
