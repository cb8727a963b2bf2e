// SPDX-License-Identifier: Apache-2.0
// Keeping handed-out badges current after each load. A large project's cache
// takes a `stat` per entry, seconds in all: the worker makes those calls in
// batches, and the main thread, where the file manager also draws, decides
// the badges a few milliseconds at a time.
#include <chrono>

#include "badging/badge_choice.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

constexpr std::chrono::microseconds kSliceLength{2000};
constexpr size_t kBatchSize = 256;
// Three batches out: the workers (two where the file manager gives us two)
// stat while the main thread decides the badges of another.
constexpr size_t kBatchesOut = 3;

}  // namespace

struct FinderSync::StatBatch {
  uint64_t walk = 0;
  std::vector<BadgeCache::Handle> handles;
  std::vector<std::string> paths;
  std::vector<char> isDirectory;  // filled in beside the main thread
  size_t applied = 0;
};

void FinderSync::reevaluate(BadgeCache::Handle handle, bool isDirectory) {
  const std::string path(badgeCache.path(handle));
  const BadgeId before = badgeCache.badge(handle);
  std::optional<BadgeId> badge;
  if (badgeCache.placement(handle).rootsGeneration == rootsGeneration) {
    // Same roots: the item's place and canonical spelling still hold.
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
    // A file manager keeps a badge until told otherwise.
    platform.finder.badgeWithdrawn(path, isDirectory);
    badgeCache.erase(handle);
    return;
  }
  if (*badge != before) {
    badgeCache.setBadge(handle, *badge);
    platform.finder.setBadgeIdentifier(badgeIdentifierText(*badge), path, isDirectory);
  }
}

void FinderSync::startReevaluation() {
  reevaluationLeft = badgeCache.handleLimit();
  ++reevaluationWalk;
  statBatchesOut = 0;
  try {
    sendInSightBatch();
    sendStatBatches();
  } catch (...) {
    // Out of memory: the walk goes on when a batch comes back, or with the
    // next load.
  }
}

// The walk reaches them again later and finds them decided.
void FinderSync::sendInSightBatch() {
  auto batch = std::make_shared<StatBatch>();
  batch->walk = reevaluationWalk;
  for (const std::string& path : platform.finder.itemPathsInSight()) {
    const std::string canonical = isAscii(path) ? path : canonicalText(path);
    std::optional<BadgeCache::Handle> handle = badgeCache.find(path, canonical);
    if (!handle || batch->handles.size() >= kBatchSize) continue;
    batch->handles.push_back(*handle);
    batch->paths.push_back(path);
  }
  if (!batch->handles.empty()) sendStatBatch(batch);
}

void FinderSync::sendStatBatches() {
  while (statBatchesOut < kBatchesOut && reevaluationLeft > 0) {
    auto batch = std::make_shared<StatBatch>();
    batch->walk = reevaluationWalk;
    while (batch->handles.size() < kBatchSize && reevaluationLeft > 0) {
      if (reevaluationCursor >= badgeCache.handleLimit()) reevaluationCursor = 0;
      const auto handle = static_cast<BadgeCache::Handle>(reevaluationCursor++);
      --reevaluationLeft;
      if (!badgeCache.live(handle)) continue;
      batch->handles.push_back(handle);
      batch->paths.emplace_back(badgeCache.path(handle));
    }
    if (!batch->handles.empty()) sendStatBatch(batch);
  }
}

void FinderSync::sendStatBatch(const std::shared_ptr<StatBatch>& batch) {
  FileSystem* files = &platform.files;
  RunLoop* runLoop = &platform.runLoop;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  platform.runLoop.dispatchToBackground([files, runLoop, weakSelf, batch] {
    // Out of memory, the items left without a type keep their badges
    // until the next load, and a batch that cannot come back ends the walk
    // until then.
    try {
      batch->isDirectory.reserve(batch->paths.size());
      for (const std::string& path : batch->paths) {
        batch->isDirectory.push_back(files->isDirectory(path));
      }
    } catch (...) {
    }
    try {
      runLoop->dispatchToMain([weakSelf, batch] {
        if (std::shared_ptr<FinderSync> self = weakSelf.lock())
          self->applyStatBatch(batch);
      });
    } catch (...) {
    }
  });
  ++statBatchesOut;
}

void FinderSync::applyStatBatch(const std::shared_ptr<StatBatch>& batch) try {
  const auto deadline = std::chrono::steady_clock::now() + kSliceLength;
  while (batch->applied < batch->handles.size()) {
    const size_t index = batch->applied++;
    const BadgeCache::Handle handle = batch->handles[index];
    // An entry erased meanwhile, or its handle given to another item, was
    // answered from the state in force.
    if (index < batch->isDirectory.size() && badgeCache.live(handle) &&
        badgeCache.path(handle) == batch->paths[index]) {
      try {
        reevaluate(handle, batch->isDirectory[index] != 0);
      } catch (...) {
        // Left as it was; the next load looks at it again.
      }
    }
    if (index % 16 == 15 && std::chrono::steady_clock::now() >= deadline) {
      std::weak_ptr<FinderSync> weakSelf = weak_from_this();
      platform.runLoop.dispatchToMain([weakSelf, batch] {
        if (std::shared_ptr<FinderSync> self = weakSelf.lock()) self->applyStatBatch(batch);
      });
      return;
    }
  }
  if (batch->walk == reevaluationWalk) --statBatchesOut;
  sendStatBatches();
} catch (...) {
  // Out of memory: the next load starts the walk again.
}

}  // namespace quorbitz
