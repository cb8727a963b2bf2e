// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/cairo_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "badging/badge_set.h"
#include "platform/linux/png_export.h"
#include "support/fake_platform.h"

namespace quorbitz {
namespace {

constexpr uint32_t kGreen = 0xFF34C759, kRed = 0xFFFF3B30;
constexpr Rect kDisc{{0.5, 0.5}, {23, 23}};
const SymbolConfiguration kBadgeSymbol{{SystemColor::white}, 14.4, FontWeight::bold};

// The badge's disc with the minus bar drawn over it as the badge draws its
// symbol, but with the given compositing.
ImageRef discWithBar(Drawing& drawing, CompositingOperation operation, double fraction) {
  auto canvas = drawing.beginImage({24, 24});
  canvas->fillOval(kDisc, SystemColor::red);
  ImageRef bar = drawing.systemSymbol("minus.circle.fill", std::nullopt);
  canvas->drawImage(*drawing.configuredSymbol(*bar, kBadgeSymbol),
                    {{4.56, 4.56}, {14.88, 14.88}}, operation, fraction);
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

TEST(CairoSymbols, ThemeIconsStandInForSystemSymbolsAndTakeTheirConfiguration) {
  CairoDrawing drawing;
  for (const char* name : {"checkmark.circle.fill", "arrow.triangle.2.circlepath",
                           "lock.circle.fill", "minus.circle.fill", "star.fill",
                           "play.fill"}) {
    ImageRef symbol = drawing.systemSymbol(name, "Quorbitz");
    ASSERT_NE(symbol, nullptr) << name;
    EXPECT_EQ(symbol->size().width, 16) << name;
    ImageRef configured = drawing.configuredSymbol(*symbol, kBadgeSymbol);
    ASSERT_NE(configured, nullptr) << name;
    EXPECT_DOUBLE_EQ(configured->size().height, 14.4);
    EXPECT_EQ(configured->symbolName(), name);
  }
  // A theme's icons are found in the scalable folders its index names,
  // wherever they are; not in its fixed-size ones, nor when the file is broken.
  testing::TempDir theme;
  theme.write("index.theme",
              "[Icon Theme]\nDirectories=16x16/actions,symbolic/status,\n"
              "[16x16/actions]\nSize=16\nType=Fixed\n"
              "[symbolic/status]\nSize=16\nType=Scalable\n");
  const std::string square = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" )"
                             R"(height="16"><rect width="9" height="9"/></svg>)";
  theme.write("symbolic/status/starred-symbolic.svg", square);
  theme.write("16x16/actions/object-select-symbolic.svg", square);
  theme.write("symbolic/status/list-remove-symbolic.svg", "<svg not closed");
  CairoDrawing themed({theme.path()});
  EXPECT_NE(themed.systemSymbol("star.fill", std::nullopt), nullptr);
  for (const char* name : {"checkmark.circle.fill", "minus.circle.fill"}) {
    EXPECT_EQ(themed.systemSymbol(name, std::nullopt), nullptr) << name;
  }
  // No symbol for an unknown name or a missing theme, and no configuration
  // of what is not a symbol or of a size that is no number.
  EXPECT_EQ(drawing.systemSymbol("no.such.symbol", std::nullopt), nullptr);
  EXPECT_EQ(CairoDrawing({"/nonexistent"}).systemSymbol("star.fill", std::nullopt), nullptr);
  EXPECT_EQ(drawing.configuredSymbol(*drawing.emptyImage(), kBadgeSymbol), nullptr);
  EXPECT_EQ(drawing.configuredSymbol(*drawing.systemSymbol("star.fill", std::nullopt),
                                     {{}, NAN, FontWeight::bold}),
            nullptr);
}

TEST(CairoBadges, WhiteSymbolSitsOnASoftEdgedDiscAtEveryScale) {
  CairoDrawing drawing;
  ImageRef badge = badgeImage(drawing, "minus.circle.fill", SystemColor::red);
  for (int scale : {1, 2}) {
    const Raster raster = rasterOf(badge, scale);
    const int last = 24 * scale - 1;
    ASSERT_EQ(std::pair(raster.width, raster.height), std::pair(last + 1, last + 1));
    EXPECT_TRUE(isWhite(raster.at(12 * scale, 12 * scale))) << scale;  // the minus bar
    EXPECT_EQ(raster.at(12 * scale, 7 * scale), kRed) << scale;         // above the bar
    EXPECT_EQ(raster.at(last, last), 0u) << scale;
  }
  const uint32_t topEdgeAlpha = rasterOf(badge, 1).at(12, 0) >> 24;
  EXPECT_TRUE(topEdgeAlpha > 0 && topEdgeAlpha < 255) << topEdgeAlpha;

  testing::TempDir temp;
  ASSERT_TRUE(writePng(*badge, 2, temp.path() + "/badge.png"));
  EXPECT_EQ(testing::readWholeFile(temp.path() + "/badge.png").substr(0, 8),
            "\x89PNG\r\n\x1a\n");
  EXPECT_FALSE(writePng(*badge, 1, "/nonexistent/folder/badge.png"));
  EXPECT_FALSE(writePng(*drawing.emptyImage(), 1, temp.path() + "/empty.png"));
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
    const Raster raster = rasterOf(discWithBar(drawing, operation, fraction), 2);
    EXPECT_TRUE(isNear(raster.at(24, 24), onBar)) << std::hex << raster.at(24, 24);
    EXPECT_EQ(raster.at(24, 14), besideBar) << fraction;
  }
}

// Geometry from a damaged configuration must neither crash nor spoil the
// drawing that follows it; ovals fill from the lower-left corner.
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

}  // namespace
}  // namespace quorbitz
