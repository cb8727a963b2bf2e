// SPDX-License-Identifier: Apache-2.0
// The six badges the extension registers, and how their images are drawn.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz {

enum class BadgeId : uint8_t { synced, pending, locked, kept, masters, review };

struct BadgeDefinition {
  BadgeId id;
  std::string_view identifier;
  std::string_view label;
  std::string_view symbol;
  SystemColor discColor;
};

// In registration order. An item not yet listed as synced shows as syncing.
inline constexpr std::array<BadgeDefinition, 6> kBadgeDefinitions{{
    {BadgeId::synced, "synced", "Synced", "checkmark.circle.fill", SystemColor::green},
    {BadgeId::pending, "pending", "Syncing", "arrow.triangle.2.circlepath.circle.fill",
     SystemColor::blue},
    {BadgeId::locked, "locked", "Locked", "lock.circle.fill", SystemColor::orange},
    {BadgeId::kept, "kept", "Kept local", "minus.circle.fill", SystemColor::red},
    {BadgeId::masters, "masters", "Masters \u2014 clients download this", "star.fill",
     SystemColor::yellow},
    {BadgeId::review, "review", "Video Review \u2014 exports here go to review",
     "play.fill", SystemColor::blue},
}};

constexpr std::string_view badgeIdentifierText(BadgeId id) {
  return kBadgeDefinitions[static_cast<size_t>(id)].identifier;
}

std::optional<BadgeId> badgeIdFromText(std::string_view identifier);

inline constexpr double kBadgeSide = 24;
inline constexpr double kBadgeSymbolPointSize = kBadgeSide * 0.6;  // 14.4
inline constexpr double kBadgeSymbolBox = kBadgeSide * 0.62;       // 14.88

// A 24 x 24 point image: a disc of `discColor` inset by half a point, with the
// named symbol in white fitted into a 14.88-point square at its centre. An
// unknown symbol leaves the plain disc.
ImageRef badgeImage(Drawing& drawing, std::string_view symbolName,
                    SystemColor discColor);

// Where a symbol of `symbolSize` is drawn on the badge.
Rect badgeSymbolRect(Size symbolSize);

}  // namespace quorbitz
