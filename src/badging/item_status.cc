// SPDX-License-Identifier: Apache-2.0
// What a column or a property page shows of an item: the badge a request
// would give, with no trace of a request, and its root's facts.
#include "badging/root_location.h"
#include "status/finder_sync.h"

namespace quorbitz {
std::optional<ItemStatus> FinderSync::itemStatus(const std::string& url) try {
  const std::string canonical = canonicalText(url);
  std::optional<CanonicalLocation> location =
      locateCanonical(url, canonical, canonicalRootPaths);
  if (!location) return std::nullopt;
  const RootStatus& root = roots[location->rootIndex];
  std::optional<ItemBadge> badge = badgeFor(url, canonical);
  MenuFacts facts{std::string_view(url).substr(location->relStart), false, &root, nullptr,
                  rootFacts[location->rootIndex].locked};
  return ItemStatus{badge ? std::optional(badge->badge) : std::nullopt, root.label,
                    root.link, root.direction, countsAsLocked(facts)};
} catch (...) {
  return std::nullopt;
}

}  // namespace quorbitz
