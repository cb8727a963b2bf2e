// SPDX-License-Identifier: Apache-2.0
// The toolbar item the user can add to a window: its name, tooltip and image.
#pragma once

#include <string_view>

namespace quorbitz {

inline constexpr std::string_view kToolbarItemName = "Quorbitz";
inline constexpr std::string_view kToolbarItemToolTip =
    "Quorbitz \u2014 synced folder actions";
inline constexpr std::string_view kToolbarItemSymbol = "arrow.triangle.2.circlepath";
inline constexpr std::string_view kToolbarItemAccessibilityDescription = "Quorbitz";

}  // namespace quorbitz
