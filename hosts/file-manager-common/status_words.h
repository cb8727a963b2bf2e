// SPDX-License-Identifier: Apache-2.0
// An item's sync status as words, for the file managers' list columns and
// property pages: an emblem alone cannot be sorted by, is hard to tell apart
// at 16 px and says nothing to a screen reader. The words are the badges'
// own labels, translated like the menus (text domain "quorbitz").
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "status/finder_sync.h"

namespace quorbitz {

// The column's attribute key, which the file manager stores the words under.
inline constexpr const char* kStatusAttribute = "quorbitz_status";

// The column's title and the description its chooser shows.
std::string statusColumnTitle();
std::string statusColumnDescription();

// What the column shows for an item: its badge's label, or "" for an item
// with no badge.
std::string statusWords(const std::optional<BadgeId>& badge);

// The property section's title and its rows, name then value, in order:
// status (when the item has a badge), project, sync direction, whether the
// folder is locked, the project link.
std::string propertiesTitle();
std::vector<std::pair<std::string, std::string>> propertyRows(const ItemStatus& item);

}  // namespace quorbitz
