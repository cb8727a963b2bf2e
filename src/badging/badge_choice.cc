// SPDX-License-Identifier: Apache-2.0
#include "badging/badge_choice.h"

namespace quorbitz {
namespace {

bool contains(const CanonicalSet* set, std::string_view canonical) {
  return set && set->containsCanonical(canonical);
}

bool under(const CanonicalSet* set, std::string_view canonical) {
  return set && set->containsCanonicalOrAncestor(canonical);
}

}  // namespace

bool canonicalNameNeverBadged(std::string_view name) {
  return name == ".DS_Store" || name.starts_with("._") ||
         name.find("Synced with Quorbitz") != std::string_view::npos ||
         name.find("Kept local") != std::string_view::npos || name == "Icon\r";
}

std::string_view lastPathComponent(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool nameNeverBadged(std::string_view name) {
  // Judged by the canonical spelling, like every other name: a KELVIN SIGN
  // in place of "K" still spells "Kept local".
  if (isAscii(name)) return canonicalNameNeverBadged(name);
  return canonicalNameNeverBadged(canonicalText(name));
}

bool holdsRole(const std::map<std::string, std::string>* roles, std::string_view role,
               std::string_view rel) {
  if (!roles) return false;
  auto entry = roles->find(std::string(role));
  return entry != roles->end() && canonicallyEqual(entry->second, rel);
}

std::optional<BadgeId> chooseBadge(std::string_view rel, bool isDirectory,
                                   const RootFacts& root) {
  if (!isDirectory) {
    if (under(root.kept, rel)) return std::nullopt;
    return contains(root.synced, rel) ? BadgeId::synced : BadgeId::pending;
  }
  if (contains(root.kept, rel)) return BadgeId::kept;
  if (under(root.kept, rel)) return std::nullopt;
  if (holdsRole(root.roles, "masters", rel)) return BadgeId::masters;
  if (holdsRole(root.roles, "review", rel)) return BadgeId::review;
  if (under(root.locked, rel)) return BadgeId::locked;
  return BadgeId::synced;
}

}  // namespace quorbitz
