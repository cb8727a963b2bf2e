// SPDX-License-Identifier: Apache-2.0
// Re-evaluating 100,000 cached badges after a reload that changes none of
// them, against 100,000 stats of the same items. The status.json is small, so
// the reload around the re-evaluation is a rounding error in its time.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include "bench_environment.h"
#include "bench_world.h"

namespace quorbitz::bench {
namespace {

constexpr size_t kRootCount = 10;
constexpr size_t kCachedItems = 100'000;
constexpr size_t kPerRoot = kCachedItems / kRootCount;

// Real files, so that each stat walks the whole path, as it would for items
// the file manager shows.
const std::vector<std::string>& cachedItems() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> paths;
    paths.reserve(kCachedItems);
    for (size_t root = 0; root < kRootCount; ++root) {
      for (const std::string& rel : clipPaths("Footage", 0, kPerRoot)) {
        paths.push_back(showRoot(root) + "/" + rel);
      }
    }
    for (const std::string& path : paths) ensureFile(path);
    return paths;
  }();
  return items;
}

std::vector<RootShape> rootsWithSmallLists() {
  std::vector<RootShape> roots;
  for (size_t i = 0; i < kRootCount; ++i) {
    roots.push_back({showRoot(i), clipPaths("Footage", 0, 100), clipPaths("Archive", 0, 100),
                     clipPaths("Graded", 0, 100)});
  }
  return roots;
}

void reevaluateCached(benchmark::State& state) {
  const std::vector<std::string>& items = cachedItems();
  World world(rootsWithSmallLists());
  world.requestBadges(items);
  const size_t assignedBefore = world.badgeRequestsAnswered();
  if (assignedBefore != kCachedItems) state.SkipWithError("not every item got a badge");
  world.timeReloads(state);
  if (world.badgeRequestsAnswered() != assignedBefore) {
    state.SkipWithError("a cached badge changed");
  }
  state.SetItemsProcessed(state.iterations() * kCachedItems);
}
BENCHMARK(reevaluateCached)->Name("reevaluation/100k_cached")->Unit(benchmark::kMillisecond);

void statEachFloor(benchmark::State& state) {
  const std::vector<std::string>& items = cachedItems();
  for (auto _ : state) {
    for (const std::string& path : items) {
      struct stat info;
      benchmark::DoNotOptimize(::stat(path.c_str(), &info));
    }
  }
  state.SetItemsProcessed(state.iterations() * kCachedItems);
}
BENCHMARK(statEachFloor)->Name("floor/stat_100k")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorbitz::bench
