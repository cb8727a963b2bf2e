// SPDX-License-Identifier: Apache-2.0
#include "stall_world.h"

#include <algorithm>

#include "bench_environment.h"
#include "status_json.h"

namespace quorbitz::bench {
namespace {

constexpr std::string_view kTop = "Footage";

}  // namespace

StallWorld::StallWorld(size_t syncedPaths, size_t mostCachedItems)
    : syncedPerRoot_(syncedPaths / kRootCount),
      cachedPerRoot_(mostCachedItems / kRootCount) {}

std::string StallWorld::item(size_t ordinal) const {
  const size_t reel = ordinal / kReelSize;
  const size_t root = reel % kRootCount;
  const size_t index = reel / kRootCount * kReelSize + ordinal % kReelSize;
  return showRoot(root) + "/" + clipPath(kTop, index);
}

void StallWorld::createRealFiles(size_t realFiles) const {
  for (size_t ordinal = 0; ordinal < realFiles; ++ordinal) ensureFile(item(ordinal));
}

bool StallWorld::syncedIn(int which, size_t index) const {
  if (index < cachedPerRoot_ && index % 10 == 0)
    return index % 20 == (which == 0 ? 0 : 10);
  return index < syncedPerRoot_;
}

std::string StallWorld::document(int which, size_t* syncedPaths) const {
  std::vector<RootShape> roots;
  *syncedPaths = 0;
  for (size_t root = 0; root < kRootCount; ++root) {
    RootShape shape{showRoot(root), {}, {}, {}};
    for (size_t index = 0; index < std::max(syncedPerRoot_, cachedPerRoot_); ++index) {
      if (syncedIn(which, index)) shape.synced.push_back(clipPath(kTop, index));
    }
    *syncedPaths += shape.synced.size();
    roots.push_back(std::move(shape));
  }
  return statusJson(roots);
}

double StallWorld::averageSyncedPathBytes() const {
  size_t bytes = 0;
  for (size_t index = 0; index < syncedPerRoot_; ++index)
    bytes += clipPath(kTop, index).size();
  return static_cast<double>(bytes) / static_cast<double>(syncedPerRoot_);
}

}  // namespace quorbitz::bench
