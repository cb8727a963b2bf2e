// SPDX-License-Identifier: Apache-2.0
#include "large_world.h"

#include <cstdio>
#include <cstdlib>

namespace quorbitz::bench {
namespace {

constexpr size_t kFilmRootPosition = kLargeRootCount / 2;
constexpr size_t kSmallListSize = 10;
static_assert(kDeepItemIndex < kLargeListSize, "the deep item is among the synced paths");

std::vector<RootShape> largeRoots() {
  std::vector<RootShape> roots;
  for (size_t i = 0; i + 1 < kLargeRootCount; ++i) {
    roots.push_back({showRoot(i), clipPaths("Footage", 0, kSmallListSize),
                     clipPaths("Archive", 0, kSmallListSize),
                     clipPaths("Graded", 0, kSmallListSize)});
  }
  // The deep item is among the synced paths.
  RootShape film{filmRoot(), clipPaths("Footage", 0, kLargeListSize),
                clipPaths("Archive", 0, kLargeListSize),
                clipPaths("Graded", 0, kLargeListSize)};
  roots.insert(roots.begin() + kFilmRootPosition, std::move(film));
  return roots;
}

// Distinct items spread evenly over the roots; missing items count as files.
void fillCache(World& world) {
  constexpr size_t kPerRoot = kLargeCacheSize / kLargeRootCount;
  std::vector<std::string> rootPaths;
  for (size_t i = 0; i + 1 < kLargeRootCount; ++i) rootPaths.push_back(showRoot(i));
  rootPaths.push_back(filmRoot());
  for (const std::string& root : rootPaths) {
    for (size_t i = 0; i < kPerRoot; ++i) {
      world.controller->requestBadgeIdentifierForURL(root + "/" + clipPath("Footage", i));
    }
  }
}

LargeWorld build() {
  std::fprintf(stderr, "building the large world (1,000,000 badge requests)...\n");
  auto* world = new World(largeRoots());
  ensureFile(deepItemPath());
  size_t before = heapBytesInUse();
  fillCache(*world);
  size_t after = heapBytesInUse();
  if (world->badgeRequestsAnswered() != kLargeCacheSize) {
    std::fprintf(stderr, "large world: %zu badges assigned, expected %zu\n",
                 world->badgeRequestsAnswered(), kLargeCacheSize);
    std::abort();
  }
  // Never destroyed: freeing a million entries at exit would only slow the
  // run down.
  return {*world, static_cast<double>(after - before) / kLargeCacheSize};
}

}  // namespace

LargeWorld& largeWorld() {
  static LargeWorld instance = build();
  return instance;
}

}  // namespace quorbitz::bench
