// SPDX-License-Identifier: Apache-2.0
// The ten menu actions, named as the file manager calls them.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorbitz {

enum class Selector {
  keepLocal,
  toggleLock,
  importResolve,
  syncNow,
  copyLink,
  setMasters,
  setReview,
  followLink,
  folderLink,
  uploadLink,
};

inline constexpr std::array<std::string_view, 10> kSelectorNames{
    "keepLocal:", "toggleLock:", "importResolve:", "syncNow:",   "copyLink:",
    "setMasters:", "setReview:", "followLink:",    "folderLink:", "uploadLink:"};

constexpr std::string_view selectorName(Selector selector) {
  return kSelectorNames[static_cast<size_t>(selector)];
}

constexpr std::optional<Selector> selectorNamed(std::string_view name) {
  for (size_t i = 0; i < kSelectorNames.size(); ++i) {
    if (kSelectorNames[i] == name) return static_cast<Selector>(i);
  }
  return std::nullopt;
}

}  // namespace quorbitz
