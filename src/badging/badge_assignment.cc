// SPDX-License-Identifier: Apache-2.0
// Answering the file manager's badge requests and keeping handed-out badges
// current after each load.
#include "badging/badge_choice.h"
#include "badging/root_location.h"
#include "status/finder_sync.h"

namespace quorbitz {

void FinderSync::registerBadges() {
  for (const BadgeDefinition& badge : kBadgeDefinitions) {
    ImageRef image = badgeImage(platform.drawing, badge.symbol, badge.discColor);
    platform.finder.setBadgeImage(image, badge.label, badge.identifier);
  }
}

std::optional<BadgeId> FinderSync::badgeIdentifier(const std::string& itemPath) {
  std::optional<Location> location = locate(itemPath);
  if (!location || location->rel.empty()) return std::nullopt;
  if (nameNeverBadged(lastPathComponent(location->rel))) return std::nullopt;
  // Judged by the item's own path so that a symbolic link to a folder counts
  // as a folder; a missing item counts as a file.
  bool isDirectory = platform.files.isDirectory(itemPath);
  return chooseBadge(location->rel, isDirectory,
                     rootFacts[static_cast<size_t>(location->root - roots.data())]);
}

// Each entry point catches everything: an exception reaching the file
// manager ends it, and an allocation can fail anywhere.
void FinderSync::requestBadgeIdentifierForURL(const std::string& url) try {
  std::optional<BadgeId> badge = badgeIdentifier(url);
  std::string_view identifier = badge ? badgeIdentifierText(*badge) : "none";
  // The file manager asks for every item it shows: the buffer is kept from
  // request to request.
  thread_local std::string message;
  message.clear();
  message.append("badge? ").append(url).append(" -> ").append(identifier);
  trace(message);
  if (!badge) return;
  // Room first, so that a cached entry is never missing from the order.
  if (badgeCacheOrder.size() == badgeCacheOrder.capacity()) {
    badgeCacheOrder.reserve(2 * badgeCacheOrder.size() + 16);
  }
  auto [entry, inserted] = badgeCache.insert_or_assign(url, *badge);
  if (inserted) badgeCacheOrder.push_back(&*entry);
  platform.finder.setBadgeIdentifier(identifier, url);
} catch (...) {
}

void FinderSync::reevaluateCachedBadges() {
  // Each step only overwrites or erases the entry it visits and the platform
  // never calls back from inside setBadgeIdentifier, so the walk visits
  // exactly the entries that were there when it began.
  size_t kept = 0;
  for (CachedBadge* entry : badgeCacheOrder) {
    try {
      std::optional<BadgeId> badge = badgeIdentifier(entry->first);
      if (!badge) {
        // The Finder asks again for what it shows; a file manager that keeps
        // an emblem until told otherwise needs telling.
        platform.finder.badgeWithdrawn(entry->first);
        badgeCache.erase(badgeCache.find(entry->first));
        continue;
      }
      if (*badge != entry->second) {
        entry->second = *badge;
        platform.finder.setBadgeIdentifier(badgeIdentifierText(*badge), entry->first);
      }
    } catch (...) {
      // Left as it was; the next load looks at it again.
    }
    badgeCacheOrder[kept++] = entry;
  }
  badgeCacheOrder.resize(kept);
}

void FinderSync::beginObservingDirectoryAtURL(const std::string& url) try {
  trace("observe " + url);
} catch (...) {
}

void FinderSync::endObservingDirectoryAtURL(const std::string& url) try {
  trace("end-observe " + url);
} catch (...) {
}

}  // namespace quorbitz
