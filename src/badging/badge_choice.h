// SPDX-License-Identifier: Apache-2.0
// Which badge an item gets, decided from plain data.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "badging/badge_set.h"
#include "status/canonical_set.h"
#include "status/canonical_text.h"

namespace quorbitz {

// What is known of the item's root. Absent sets and roles count as empty.
struct RootFacts {
  const CanonicalSet* synced = nullptr;
  const CanonicalSet* kept = nullptr;
  const CanonicalSet* locked = nullptr;
  const std::map<std::string, std::string>* roles = nullptr;
};

// The text after the last "/", or the whole text without one.
std::string_view lastPathComponent(std::string_view path);

// Finder metadata, AppleDouble files, icon files and the service's own
// marker files never carry a badge.
bool nameNeverBadged(std::string_view name);
// The same for a name already in canonical spelling.
bool canonicalNameNeverBadged(std::string_view name);

// True when `roles` names `rel` under `role`.
bool holdsRole(const std::map<std::string, std::string>* roles, std::string_view role,
               std::string_view rel);

// The badge of an item below its root (`rel` not empty, in canonical
// spelling; name not filtered).
std::optional<BadgeId> chooseBadge(std::string_view rel, bool isDirectory,
                                   const RootFacts& root);

}  // namespace quorbitz
