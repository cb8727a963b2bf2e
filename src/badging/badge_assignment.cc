// SPDX-License-Identifier: Apache-2.0
// Answering the file manager's badge requests.
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

std::optional<FinderSync::ItemBadge> FinderSync::badgeFor(const std::string& itemPath,
                                                          std::string_view canonicalPath) {
  std::optional<CanonicalLocation> location =
      locateCanonical(itemPath, canonicalPath, canonicalRootPaths);
  if (!location || location->relStart >= itemPath.size()) return std::nullopt;
  std::string_view canonicalRel = canonicalPath.substr(location->canonicalRelStart);
  if (canonicalNameNeverBadged(lastPathComponent(canonicalRel))) return std::nullopt;
  // Judged by the item's own path so that a symbolic link to a folder counts
  // as a folder; a missing item counts as a file.
  bool isDirectory = platform.files.isDirectory(itemPath);
  std::optional<BadgeId> badge =
      chooseBadge(canonicalRel, isDirectory, rootFacts[location->rootIndex]);
  if (!badge) return std::nullopt;
  return ItemBadge{*badge,
                   {static_cast<uint32_t>(location->rootIndex), rootsGeneration},
                   canonicalRel, isDirectory};
}

// Each entry point catches everything: an exception reaching the file
// manager ends it, and an allocation can fail anywhere.
void FinderSync::requestBadgeIdentifierForURL(const std::string& url) try {
  // The file manager asks for every item it shows: the buffer is kept from
  // request to request.
  thread_local std::string canonical;
  canonicalTextInto(canonical, url);
  std::string_view canonicalPath = canonical;
  std::optional<ItemBadge> answer = badgeFor(url, canonicalPath);
  std::string_view identifier = answer ? badgeIdentifierText(answer->badge) : "none";
  trace({"badge? ", url, " -> ", identifier});
  if (!answer) return;
  const BadgeCache::Handle handle = badgeCache.insertOrAssign(
      url, canonicalPath, answer->canonicalRel, answer->placement, answer->badge);
  // The walk beside a load may have passed this item already.
  if (decisionsHeld) answeredBesideLoad.push_back(handle);
  platform.finder.setBadgeIdentifier(identifier, url, answer->isDirectory);
} catch (...) {
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
