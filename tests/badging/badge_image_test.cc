// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "badging/badge_set.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {
namespace {

const RecordedImage& recorded(const ImageRef& image) {
  return static_cast<const RecordedImage&>(*image);
}

TEST(BadgeImage, FitsTheSymbolIntoTheCentreOfTheDisc) {
  // The symbol's size, and where it is drawn.
  const std::vector<std::pair<Size, std::string>> cases = {
      {{20, 10}, "(4.56, 8.28, 14.88, 7.44)"},
      {{0.5, 0.5}, "(8.28, 8.28, 7.44, 7.44)"},
      {{10, 20}, "(8.28, 4.56, 7.44, 14.88)"},
  };
  for (const auto& [symbol, drawnAt] : cases) {
    RecordingDrawing drawing;
    drawing.symbols = {{"star.fill", symbol}};
    drawing.configuredSize = symbol;
    ImageRef image = badgeImage(drawing, "star.fill", SystemColor::yellow);
    ASSERT_EQ(recorded(image).operations.size(), 2u);
    EXPECT_EQ(recorded(image).operations[0], "oval (0.5, 0.5, 23, 23) color 4");
    EXPECT_EQ(recorded(image).operations[1],
              "draw star.fill palette 5 size 14.4 bold in " + drawnAt + " op 2 fraction 1");
  }
}

TEST(BadgeImage, FallsBackToTheUnconfiguredSymbolAndToThePlainDisc) {
  RecordingDrawing drawing;
  drawing.symbols = {{"play.fill", {20, 10}}};
  ImageRef unconfigured = badgeImage(drawing, "play.fill", SystemColor::blue);
  EXPECT_EQ(recorded(unconfigured).operations[1],
            "draw play.fill in (4.56, 8.28, 14.88, 7.44) op 2 fraction 1");
  ImageRef discOnly = badgeImage(drawing, "no.such.symbol", SystemColor::red);
  EXPECT_EQ(recorded(discOnly).operations.size(), 1u);
}

}  // namespace
}  // namespace quorbitz::testing
