// SPDX-License-Identifier: Apache-2.0
// Keeping handed-out badges current after each load. A large project's cache
// takes a `stat` per entry, seconds in all: the workers make those calls in
// batches, and the main thread, where the file manager also draws, decides
// the badges a few milliseconds at a time.
#include <chrono>

#include "badging/badge_choice.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

constexpr std::chrono::microseconds kSliceLength{2000};
constexpr size_t kBatchSize = 256;
// Batches at the workers (two where the file manager gives us two), and
// batches out or waiting for their badges: enough that neither the workers
// nor the main thread wait for a hand-over between them.
constexpr size_t kBatchesAtWorkers = 4;
constexpr size_t kBatchesOut = 8;
// While a load is under way: about 100,000 items, as many as two workers
// stat while a large project's status decodes, for some 15 MB until it is
// in force.
constexpr size_t kBatchesOutBesideLoad = 400;

}  // namespace

struct FinderSync::StatBatch {
  uint64_t walk = 0;
  std::vector<BadgeCache::Handle> handles;
  // The items' paths one after the other: one allocation per batch, not one
  // per item, on the main thread.
  std::string paths;
  std::vector<size_t> pathEnds;
  std::vector<char> isDirectory;  // filled in beside the main thread
  size_t decided = 0;

  void add(BadgeCache::Handle handle, std::string_view path) {
    if (paths.empty()) paths.reserve(kBatchSize * (path.size() + path.size() / 4));
    handles.push_back(handle);
    paths.append(path);
    pathEnds.push_back(paths.size());
  }
  std::string_view path(size_t index) const {
    const size_t start = index == 0 ? 0 : pathEnds[index - 1];
    return std::string_view(paths).substr(start, pathEnds[index] - start);
  }
};

void FinderSync::reevaluate(BadgeCache::Handle handle, bool isDirectory) {
  const BadgeId before = badgeCache.badge(handle);
  const BadgeCache::Placement placement = badgeCache.placement(handle);
  std::optional<BadgeId> badge;
  if (placement.rootsGeneration == rootsGeneration) {
    // Same roots: the item's place and canonical spelling still hold.
    badge = chooseBadge(badgeCache.canonicalRel(handle), isDirectory,
                        rootFacts[placement.rootIndex]);
  } else {
    const std::string path(badgeCache.path(handle));
    const std::string canonical = canonicalText(path);
    if (std::optional<ItemBadge> answer = badgeFor(path, canonical)) {
      badgeCache.insertOrAssign(path, canonical, answer->canonicalRel, answer->placement,
                                before);
      badge = answer->badge;
    }
  }
  if (badge == before) return;
  // The file manager gets a path of its own: what it does with it may reach
  // the cache again.
  const std::string path(badgeCache.path(handle));
  if (!badge) {
    // A file manager keeps a badge until told otherwise.
    platform.finder.badgeWithdrawn(path, isDirectory);
    badgeCache.erase(handle);
    return;
  }
  badgeCache.setBadge(handle, *badge);
  platform.finder.setBadgeIdentifier(badgeIdentifierText(*badge), path, isDirectory);
}

void FinderSync::startReevaluationBesideLoad() {
  // A walk under way goes on: a status rewritten faster than it loads must
  // not hold every badge back.
  if (reevaluationLeft > 0 || statBatchesOut > 0 || !statedBatches.empty()) return;
  decisionsHeld = true;
  startReevaluation();
}

void FinderSync::releaseHeldDecisions() {
  if (!decisionsHeld) return;
  decisionsHeld = false;
  answeredBesideLoad.clear();
  try {
    scheduleDecisions();
    sendStatBatches();
  } catch (...) {
    // Out of memory: the walk goes on when a batch comes back.
  }
}

void FinderSync::startReevaluation() {
  reevaluationLeft = badgeCache.handleLimit();
  ++reevaluationWalk;
  statBatchesOut = 0;
  statedBatches.clear();
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
    if (batch->handles.size() >= kBatchSize) break;
    const std::string canonical = isAscii(path) ? path : canonicalText(path);
    if (std::optional<BadgeCache::Handle> handle = badgeCache.find(path, canonical)) {
      batch->add(*handle, path);
    }
  }
  if (!batch->handles.empty()) sendForStats(batch);
}

void FinderSync::sendAnsweredBesideLoad() try {
  std::shared_ptr<StatBatch> batch;
  for (const BadgeCache::Handle handle : answeredBesideLoad) {
    if (!badgeCache.live(handle)) continue;
    if (!batch || batch->handles.size() >= kBatchSize) {
      if (batch) sendForStats(batch);
      batch = std::make_shared<StatBatch>();
      batch->walk = reevaluationWalk;
    }
    batch->add(handle, badgeCache.path(handle));
  }
  if (batch) sendForStats(batch);
} catch (...) {
  // Out of memory: those items keep their badges until the next load.
}

void FinderSync::sendStatBatches() {
  const size_t mostOut = decisionsHeld ? kBatchesOutBesideLoad : kBatchesOut;
  while (statBatchesOut < kBatchesAtWorkers &&
         statBatchesOut + statedBatches.size() < mostOut && reevaluationLeft > 0) {
    auto batch = std::make_shared<StatBatch>();
    batch->walk = reevaluationWalk;
    batch->handles.reserve(kBatchSize);
    batch->pathEnds.reserve(kBatchSize);
    while (batch->handles.size() < kBatchSize && reevaluationLeft > 0) {
      if (reevaluationCursor >= badgeCache.handleLimit()) reevaluationCursor = 0;
      const auto handle = static_cast<BadgeCache::Handle>(reevaluationCursor++);
      --reevaluationLeft;
      if (badgeCache.live(handle)) batch->add(handle, badgeCache.path(handle));
    }
    if (!batch->handles.empty()) sendForStats(batch);
  }
}

void FinderSync::sendForStats(const std::shared_ptr<StatBatch>& batch) {
  FileSystem* files = &platform.files;
  RunLoop* runLoop = &platform.runLoop;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  platform.runLoop.dispatchToBackground([files, runLoop, weakSelf, batch] {
    // Out of memory, the items left without a type keep their badges until
    // the next load, and a batch that cannot come back ends the walk until
    // then.
    try {
      batch->isDirectory.reserve(batch->handles.size());
      std::string path;
      for (size_t index = 0; index < batch->handles.size(); ++index) {
        path.assign(batch->path(index));
        batch->isDirectory.push_back(files->isDirectory(path));
      }
    } catch (...) {
    }
    try {
      runLoop->dispatchToMain([weakSelf, batch] {
        if (std::shared_ptr<FinderSync> self = weakSelf.lock()) self->statsCameBack(batch);
      });
    } catch (...) {
    }
  });
  ++statBatchesOut;
}

void FinderSync::statsCameBack(const std::shared_ptr<StatBatch>& batch) try {
  // A batch of an earlier walk: this one visits its items again.
  if (batch->walk != reevaluationWalk) return;
  --statBatchesOut;
  statedBatches.push_back(batch);
  scheduleDecisions();
  sendStatBatches();
} catch (...) {
  // Out of memory: the next load starts the walk again.
}

void FinderSync::scheduleDecisions() {
  if (decisionsScheduled || decisionsHeld || statedBatches.empty()) return;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  platform.runLoop.dispatchToMain([weakSelf] {
    if (std::shared_ptr<FinderSync> self = weakSelf.lock()) self->decideStatedBatches();
  });
  decisionsScheduled = true;
}

void FinderSync::decideStatedBatches() try {
  decisionsScheduled = false;
  if (statedBatches.empty()) return;
  const auto deadline = std::chrono::steady_clock::now() + kSliceLength;
  StatBatch& batch = *statedBatches.front();
  while (batch.decided < batch.handles.size()) {
    const size_t index = batch.decided++;
    const BadgeCache::Handle handle = batch.handles[index];
    // An entry erased meanwhile, or its handle given to another item, was
    // answered from the state in force.
    if (index < batch.isDirectory.size() && badgeCache.live(handle) &&
        badgeCache.path(handle) == batch.path(index)) {
      try {
        reevaluate(handle, batch.isDirectory[index] != 0);
      } catch (...) {
        // Left as it was; the next load looks at it again.
      }
    }
    if (index % 16 == 15 && std::chrono::steady_clock::now() >= deadline) break;
  }
  if (batch.decided == batch.handles.size()) {
    statedBatches.pop_front();
    sendStatBatches();
  }
  // At most a batch a turn: the file manager's own work comes between.
  scheduleDecisions();
} catch (...) {
  // Out of memory: the next load starts the walk again.
}

}  // namespace quorbitz
