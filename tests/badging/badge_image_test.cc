// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <tuple>

#include "badging/badge_set.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {
namespace {

// The symbol's size, whether it can be configured, and what is drawn: the
// symbol fitted into the centre of the disc, unconfigured, or only the disc.
TEST(BadgeImage, FitsTheSymbolIntoTheCentreOfTheDiscOrFallsBack) {
  const std::string disc = "oval (0.5, 0.5, 23, 23) color 4", draw = "draw star.fill ";
  const std::string configured = draw + "palette 5 size 14.4 bold in ";
  const std::vector<std::tuple<std::optional<Size>, bool, std::vector<std::string>>> cases = {
      {Size{20, 10}, true, {disc, configured + "(4.56, 8.28, 14.88, 7.44) op 2 fraction 1"}},
      {Size{0.5, 0.5}, true, {disc, configured + "(8.28, 8.28, 7.44, 7.44) op 2 fraction 1"}},
      {Size{10, 20}, true, {disc, configured + "(8.28, 4.56, 7.44, 14.88) op 2 fraction 1"}},
      {Size{20, 10}, false, {disc, draw + "in (4.56, 8.28, 14.88, 7.44) op 2 fraction 1"}},
      {std::nullopt, true, {disc}},
  };
  for (const auto& [symbol, configurable, operations] : cases) {
    RecordingDrawing drawing;
    if (symbol) drawing.symbols = {{"star.fill", *symbol}};
    if (configurable) drawing.configuredSize = symbol;
    ImageRef image = badgeImage(drawing, "star.fill", SystemColor::yellow);
    EXPECT_EQ(static_cast<const RecordedImage&>(*image).operations, operations);
  }
}

}  // namespace
}  // namespace quorbitz::testing
