// SPDX-License-Identifier: Apache-2.0
#import "finder/appkit_drawing.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#import "finder/ns_text.h"

namespace quorbitz::finder {
namespace {

class AppKitImage final : public Image {
 public:
  AppKitImage(NSImage* image, std::string symbolName)
      : image_(image), symbolName_(std::move(symbolName)) {}
  Size size() const override { return {image_.size.width, image_.size.height}; }
  std::string symbolName() const override { return symbolName_; }
  NSImage* nsImage() const { return image_; }

 private:
  NSImage* image_;
  std::string symbolName_;
};

NSColor* nsColor(SystemColor color) {
  switch (color) {
    case SystemColor::green: return NSColor.systemGreenColor;
    case SystemColor::blue: return NSColor.systemBlueColor;
    case SystemColor::orange: return NSColor.systemOrangeColor;
    case SystemColor::red: return NSColor.systemRedColor;
    case SystemColor::yellow: return NSColor.systemYellowColor;
    case SystemColor::white: return NSColor.whiteColor;
  }
  return NSColor.whiteColor;
}

NSRect nsRect(const Rect& rect) {
  return NSMakeRect(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

NSCompositingOperation nsOperation(CompositingOperation operation) {
  return operation == CompositingOperation::copy ? NSCompositingOperationCopy
                                                 : NSCompositingOperationSourceOver;
}

// The drawing is recorded, and the image replays it whenever it is drawn:
// the Finder shows a badge at up to 320 points, and a drawing done once into
// pixels at 24 points would be blown up blurred. Replayed, the ovals and the
// symbols are drawn afresh at the size and scale of each use.
class AppKitCanvas final : public Canvas {
 public:
  explicit AppKitCanvas(Size size) : size_(NSMakeSize(size.width, size.height)) {}

  void fillOval(const Rect& bounds, SystemColor color) override {
    steps_.push_back([color = nsColor(color), bounds = nsRect(bounds)] {
      [color setFill];
      [[NSBezierPath bezierPathWithOvalInRect:bounds] fill];
    });
  }

  void drawImage(const Image& image, const Rect& destination, CompositingOperation operation,
                 double fraction) override {
    const auto* source = dynamic_cast<const AppKitImage*>(&image);
    if (!source) return;
    steps_.push_back([picture = source->nsImage(), destination = nsRect(destination),
                      operation = nsOperation(operation), fraction] {
      // A zero source rectangle draws the whole image.
      [picture drawInRect:destination fromRect:NSZeroRect operation:operation fraction:fraction];
    });
  }

  ImageRef finish() override {
    auto steps = std::make_shared<const std::vector<std::function<void()>>>(std::move(steps_));
    NSImage* image = [NSImage imageWithSize:size_
                                    flipped:NO
                             drawingHandler:^BOOL(NSRect) {
                               for (const std::function<void()>& step : *steps) step();
                               return YES;
                             }];
    return std::make_shared<AppKitImage>(image, std::string());
  }

 private:
  NSSize size_;
  std::vector<std::function<void()>> steps_;
};

}  // namespace

std::unique_ptr<Canvas> AppKitDrawing::beginImage(Size size) {
  return std::make_unique<AppKitCanvas>(size);
}

ImageRef AppKitDrawing::systemSymbol(std::string_view name,
                                     std::optional<std::string_view> accessibilityDescription) {
  if (@available(macOS 11.0, *)) {
    NSString* symbolName = nsString(name);
    if (!symbolName) return nullptr;
    NSImage* symbol = [NSImage
        imageWithSystemSymbolName:symbolName
         accessibilityDescription:accessibilityDescription ? nsString(*accessibilityDescription)
                                                           : nil];
    if (symbol) return std::make_shared<AppKitImage>(symbol, std::string(name));
  }
  return nullptr;
}

ImageRef AppKitDrawing::configuredSymbol(const Image& symbol,
                                         const SymbolConfiguration& configuration) {
  const auto* source = dynamic_cast<const AppKitImage*>(&symbol);
  if (!source) return nullptr;
  if (@available(macOS 12.0, *)) {
    NSMutableArray<NSColor*>* palette =
        [NSMutableArray arrayWithCapacity:configuration.paletteColors.size()];
    for (SystemColor color : configuration.paletteColors) [palette addObject:nsColor(color)];
    NSImageSymbolConfiguration* colours =
        [NSImageSymbolConfiguration configurationWithPaletteColors:palette];
    NSImageSymbolConfiguration* sized = [NSImageSymbolConfiguration
        configurationWithPointSize:configuration.pointSize
                            weight:configuration.weight == FontWeight::bold ? NSFontWeightBold
                                                                            : NSFontWeightRegular];
    NSImage* configured = [source->nsImage()
        imageWithSymbolConfiguration:[colours configurationByApplyingConfiguration:sized]];
    if (configured) return std::make_shared<AppKitImage>(configured, symbol.symbolName());
  }
  return nullptr;
}

ImageRef AppKitDrawing::emptyImage() {
  return std::make_shared<AppKitImage>([[NSImage alloc] init], std::string());
}

NSImage* _Nullable nsImageOf(const ImageRef& image) {
  const auto* made = dynamic_cast<const AppKitImage*>(image.get());
  return made ? made->nsImage() : nil;
}

}  // namespace quorbitz::finder
