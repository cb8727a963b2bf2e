// SPDX-License-Identifier: Apache-2.0
#include "badging/badge_set.h"

#include <algorithm>

namespace quorbitz {

std::optional<BadgeId> badgeIdFromText(std::string_view identifier) {
  for (const BadgeDefinition& definition : kBadgeDefinitions) {
    if (definition.identifier == identifier) return definition.id;
  }
  return std::nullopt;
}

Rect badgeSymbolRect(Size symbolSize) {
  // A side shorter than one point counts as one, so a degenerate symbol
  // cannot blow the scale up without bound.
  double scale = std::min(kBadgeSymbolBox / std::max(symbolSize.width, 1.0),
                          kBadgeSymbolBox / std::max(symbolSize.height, 1.0));
  Size drawn{symbolSize.width * scale, symbolSize.height * scale};
  return {{(kBadgeSide - drawn.width) / 2, (kBadgeSide - drawn.height) / 2}, drawn};
}

ImageRef badgeImage(Drawing& drawing, std::string_view symbolName,
                    SystemColor discColor) {
  std::unique_ptr<Canvas> canvas = drawing.beginImage({kBadgeSide, kBadgeSide});
  canvas->fillOval({{0.5, 0.5}, {kBadgeSide - 1, kBadgeSide - 1}}, discColor);
  ImageRef symbol = drawing.systemSymbol(symbolName, std::nullopt);
  if (symbol) {
    const SymbolConfiguration white{
        {SystemColor::white}, kBadgeSymbolPointSize, FontWeight::bold};
    if (ImageRef configured = drawing.configuredSymbol(*symbol, white)) {
      symbol = std::move(configured);
    }
    canvas->drawImage(*symbol, badgeSymbolRect(symbol->size()),
                      CompositingOperation::sourceOver, 1.0);
  }
  return canvas->finish();
}

}  // namespace quorbitz
