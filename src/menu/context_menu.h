// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" context menu: which folder actions fit an item and its root.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menu/menu_model.h"
#include "status/canonical_set.h"
#include "status/canonical_text.h"
#include "status/status.h"

namespace quorbitz {

// 0: the selected items; 1: the folder shown; 2: the sidebar; 3: the toolbar
// item. Only 0 is treated differently.
using MenuKind = uint64_t;

inline constexpr std::string_view kMenuTitle = "Quorbitz";

// The item a menu is for: the first selected item for kind 0, the targeted
// item for every other kind, with no fallback between the two.
std::optional<std::string> menuTarget(
    MenuKind kind, const std::optional<std::vector<std::string>>& selection,
    const std::optional<std::string>& targeted);

struct MenuFacts {
  std::string_view rel;  // "" for the root itself
  bool isFolder = false;
  const RootStatus* root = nullptr;
  const CanonicalSet* kept = nullptr;    // absent counts as empty
  const CanonicalSet* locked = nullptr;  // absent counts as empty
};

// True when the target is a locked folder or lies in one; the root itself
// by its own flag.
bool countsAsLocked(const MenuFacts& facts);

// The items that fit a located target, in their fixed order.
MenuModel buildMenu(const MenuFacts& facts);

// A menu with no items, for a target outside every root.
MenuModel emptyMenu();

}  // namespace quorbitz
