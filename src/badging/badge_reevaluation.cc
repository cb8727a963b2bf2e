// SPDX-License-Identifier: Apache-2.0
// Keeping handed-out badges current after each load, a few milliseconds at
// a time: the file manager draws its windows on the same thread, and a
// large project's cache takes seconds to walk.
#include <chrono>

#include "badging/badge_choice.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

constexpr std::chrono::microseconds kSliceLength{2000};
// Entries walked between looks at the clock; each costs a few microseconds.
constexpr size_t kEntriesPerClockCheck = 16;

}  // namespace

void FinderSync::reevaluate(BadgeCache::Handle handle) {
  const std::string path(badgeCache.path(handle));
  const BadgeId before = badgeCache.badge(handle);
  std::optional<BadgeId> badge;
  if (badgeCache.placement(handle).rootsGeneration == rootsGeneration) {
    // Same roots: the item's place and canonical spelling still hold.
    bool isDirectory = platform.files.isDirectory(path);
    badge = chooseBadge(badgeCache.canonicalRel(handle), isDirectory,
                        rootFacts[badgeCache.placement(handle).rootIndex]);
  } else {
    const std::string canonical = canonicalText(path);
    if (std::optional<ItemBadge> answer = badgeFor(path, canonical)) {
      badgeCache.insertOrAssign(path, canonical, answer->canonicalRel, answer->placement,
                                before);
      badge = answer->badge;
    }
  }
  if (!badge) {
    // The Finder asks again for what it shows; a file manager that keeps an
    // emblem until told otherwise needs telling.
    platform.finder.badgeWithdrawn(path);
    badgeCache.erase(handle);
    return;
  }
  if (*badge != before) {
    badgeCache.setBadge(handle, *badge);
    platform.finder.setBadgeIdentifier(badgeIdentifierText(*badge), path);
  }
}

void FinderSync::startReevaluation() {
  reevaluationLeft = badgeCache.handleLimit();
  scheduleReevaluationSlice();
}

void FinderSync::scheduleReevaluationSlice() {
  if (reevaluationScheduled || reevaluationLeft == 0) return;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  try {
    platform.runLoop.dispatchToMain([weakSelf] {
      if (std::shared_ptr<FinderSync> self = weakSelf.lock()) self->reevaluateSlice();
    });
    reevaluationScheduled = true;
  } catch (...) {
    // Out of memory: the next load starts the walk again.
  }
}

void FinderSync::reevaluateSlice() {
  reevaluationScheduled = false;
  const auto deadline = std::chrono::steady_clock::now() + kSliceLength;
  for (size_t walked = 1; reevaluationLeft > 0; ++walked) {
    if (reevaluationCursor >= badgeCache.handleLimit()) reevaluationCursor = 0;
    const auto handle = static_cast<BadgeCache::Handle>(reevaluationCursor++);
    --reevaluationLeft;
    if (badgeCache.live(handle)) {
      try {
        reevaluate(handle);
      } catch (...) {
        // Left as it was; the next load looks at it again.
      }
    }
    if (walked % kEntriesPerClockCheck == 0 &&
        std::chrono::steady_clock::now() >= deadline) {
      break;
    }
  }
  scheduleReevaluationSlice();
}

}  // namespace quorbitz
