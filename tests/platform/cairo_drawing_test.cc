// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/cairo_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/linux/png_export.h"
#include "support/fake_platform.h"

namespace quorbitz {
namespace {

constexpr uint32_t kGreen = 0xFF34C759;
constexpr uint32_t kRed = 0xFFFF3B30;
constexpr Rect kDisc{{0.5, 0.5}, {23, 23}};
const SymbolConfiguration kBadgeSymbol{{SystemColor::white}, 14.4, FontWeight::bold};

// The badge as the extension draws it: a disc, then a white symbol fitted
// into a 14.88-point square at its centre.
ImageRef drawBadge(Drawing& drawing, SystemColor color, std::string_view symbolName,
                   CompositingOperation operation = CompositingOperation::sourceOver,
                   double fraction = 1.0) {
  auto canvas = drawing.beginImage({24, 24});
  canvas->fillOval(kDisc, color);
  if (ImageRef symbol = drawing.systemSymbol(symbolName, std::nullopt)) {
    if (ImageRef configured = drawing.configuredSymbol(*symbol, kBadgeSymbol)) {
      symbol = configured;
    }
    const double fit = 14.88 / std::max(symbol->size().width, symbol->size().height);
    const Size drawn{symbol->size().width * fit, symbol->size().height * fit};
    canvas->drawImage(*symbol, {{12 - drawn.width / 2, 12 - drawn.height / 2}, drawn},
                      operation, fraction);
  }
  return canvas->finish();
}

Raster rasterOf(const ImageRef& image, double scale) {
  std::optional<Raster> raster = rasterise(*image, scale);
  EXPECT_TRUE(raster.has_value());
  return raster.value_or(Raster{});
}

bool isWhite(uint32_t pixel) { return (pixel & 0xFFF0F0F0) == 0xFFF0F0F0; }

// Within rounding, channel by channel.
bool isNear(uint32_t pixel, uint32_t expected) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int difference = int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF);
    if (std::abs(difference) > 2) return false;
  }
  return true;
}

TEST(CairoSymbols, ThemeIconsStandInForSystemSymbols) {
  CairoDrawing drawing;
  for (const char* name :
       {"checkmark.circle.fill", "arrow.triangle.2.circlepath.circle.fill",
        "arrow.triangle.2.circlepath", "lock.circle.fill", "minus.circle.fill",
        "star.fill", "play.fill"}) {
    ImageRef symbol = drawing.systemSymbol(name, "Quorbitz");
    ASSERT_NE(symbol, nullptr) << name;
    EXPECT_EQ(symbol->symbolName(), name);
    EXPECT_EQ(symbol->size().width, 16) << name;
    EXPECT_EQ(symbol->size().height, 16) << name;
  }
}

TEST(CairoSymbols, NoSymbolForUnknownNamesMissingThemesOrBrokenFiles) {
  EXPECT_EQ(CairoDrawing().systemSymbol("no.such.symbol", std::nullopt), nullptr);
  EXPECT_EQ(CairoDrawing({"/nonexistent"}).systemSymbol("star.fill", std::nullopt),
            nullptr);
  testing::TempDir theme;
  theme.write("scalable/status/starred-symbolic.svg", "<svg not closed");
  EXPECT_EQ(CairoDrawing({theme.path()}).systemSymbol("star.fill", std::nullopt),
            nullptr);
}

TEST(CairoSymbols, ConfiguredSymbolTakesThePointSizeAndKeepsItsName) {
  CairoDrawing drawing;
  ImageRef symbol = drawing.systemSymbol("lock.circle.fill", std::nullopt);
  ASSERT_NE(symbol, nullptr);
  ImageRef configured = drawing.configuredSymbol(*symbol, kBadgeSymbol);
  ASSERT_NE(configured, nullptr);
  EXPECT_DOUBLE_EQ(configured->size().width, 14.4);
  EXPECT_DOUBLE_EQ(configured->size().height, 14.4);
  EXPECT_EQ(configured->symbolName(), "lock.circle.fill");

  EXPECT_EQ(drawing.configuredSymbol(*drawing.emptyImage(), kBadgeSymbol), nullptr);
  EXPECT_EQ(drawing.configuredSymbol(*symbol, {{}, NAN, FontWeight::bold}), nullptr);
  EXPECT_EQ(drawing.emptyImage()->symbolName(), "");
}

TEST(CairoBadges, WhiteSymbolSitsOnTheDiscAtEveryScale) {
  CairoDrawing drawing;
  ImageRef badge = drawBadge(drawing, SystemColor::red, "minus.circle.fill");
  for (int scale : {1, 2}) {
    const Raster raster = rasterOf(badge, scale);
    const int last = 24 * scale - 1;
    ASSERT_EQ(raster.width, last + 1);
    ASSERT_EQ(raster.height, last + 1);
    EXPECT_TRUE(isWhite(raster.at(12 * scale, 12 * scale))) << scale;  // the minus bar
    EXPECT_EQ(raster.at(12 * scale, 7 * scale), kRed) << scale;        // above the bar
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_EQ(raster.at(x, y), 0u) << scale;
    }
  }
}

TEST(CairoBadges, DiscFillsItsOvalWithSoftEdgesFromTheLowerLeftCorner) {
  CairoDrawing drawing;
  const Raster disc =
      rasterOf(drawBadge(drawing, SystemColor::green, "no.such.symbol"), 1);
  EXPECT_EQ(disc.at(12, 12), kGreen);
  EXPECT_EQ(disc.at(12, 1), kGreen);
  EXPECT_GT(disc.at(12, 0) >> 24, 0u);
  EXPECT_LT(disc.at(12, 0) >> 24, 255u);

  auto canvas = drawing.beginImage({24, 24});
  canvas->fillOval({{0, 0}, {12, 12}}, SystemColor::green);
  const Raster lowerLeft = rasterOf(canvas->finish(), 1);
  EXPECT_EQ(lowerLeft.at(6, 18), kGreen);
  EXPECT_EQ(lowerLeft.at(6, 6), 0u);
}

TEST(CairoBadges, OperationAndFractionDecideWhatShowsBeneathTheSymbol) {
  using enum CompositingOperation;
  CairoDrawing drawing;
  // operation, fraction, on the bar, beside the bar
  for (auto [operation, fraction, onBar, besideBar] :
       {std::tuple{sourceOver, 1.0, 0xFFFFFFFF, kRed},
        {copy, 1.0, 0xFFFFFFFF, 0u},
        {sourceOver, 0.5, 0xFFFF9D98, kRed},
        {copy, 0.5, 0x80FFFFFF, 0u}}) {
    // At scale 2 the bar covers whole pixel rows 23 and 24.
    const Raster raster = rasterOf(
        drawBadge(drawing, SystemColor::red, "minus.circle.fill", operation, fraction),
        2);
    EXPECT_TRUE(isNear(raster.at(24, 24), onBar)) << std::hex << raster.at(24, 24);
    EXPECT_EQ(raster.at(24, 14), besideBar) << fraction;
  }
}

TEST(CairoBadges, UnusableGeometryDrawsNothingAndSpoilsNothingAfterIt) {
  CairoDrawing drawing;
  ImageRef symbol = drawing.systemSymbol("star.fill", std::nullopt);
  ASSERT_NE(symbol, nullptr);
  auto canvas = drawing.beginImage({24, 24});
  canvas->fillOval(kDisc, SystemColor::green);
  canvas->fillOval({{NAN, 0}, {10, 10}}, SystemColor::red);
  canvas->fillOval({{4, 4}, {0, 10}}, SystemColor::red);
  canvas->drawImage(*symbol, {{0, 0}, {24, INFINITY}}, CompositingOperation::copy, 1);
  canvas->drawImage(*symbol, {{0, 0}, {24, 24}}, CompositingOperation::copy, NAN);
  canvas->drawImage(*drawing.emptyImage(), {{0, 0}, {24, 24}},
                    CompositingOperation::sourceOver, 1);
  canvas->fillOval({{0, 0}, {6, 6}}, SystemColor::red);
  const Raster raster = rasterOf(canvas->finish(), 1);
  EXPECT_EQ(raster.at(12, 12), kGreen);
  EXPECT_EQ(raster.at(3, 20), kRed);
  EXPECT_FALSE(rasterise(*drawing.emptyImage(), NAN).has_value());
}

TEST(PngExport, WritesAPngFileOrReportsFailure) {
  CairoDrawing drawing;
  ImageRef badge = drawBadge(drawing, SystemColor::blue, "play.fill");
  testing::TempDir temp;
  const std::string path = temp.path() + "/badge.png";
  ASSERT_TRUE(writePng(*badge, 2, path));
  EXPECT_EQ(testing::readWholeFile(path).substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_FALSE(writePng(*badge, 1, "/nonexistent/folder/badge.png"));
  EXPECT_FALSE(writePng(*drawing.emptyImage(), 1, temp.path() + "/empty.png"));
}

}  // namespace
}  // namespace quorbitz
