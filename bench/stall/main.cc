// SPDX-License-Identifier: Apache-2.0
// How long the extension keeps the file manager's main thread from drawing
// while status.json is rewritten once a second, and what its memory costs.
//
//   quorbitz_stall_bench cache|status RESULTS.json
//
// "cache": 100,000 synced paths while the badge cache grows to 10,000,
// 100,000 and 1,000,000 entries; "status": 1,000,000 synced paths with
// 100,000 cached badges. QUORBITZ_STALL_SECONDS shortens the rewriting
// (default 30 s per row).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "resident_memory.h"
#include "stall_run.h"

namespace quorbitz::bench {
namespace {

using Results = std::map<std::string, double>;

constexpr size_t kRealFiles = 100'000;
constexpr size_t kTimingRepetitions = 5;

std::chrono::seconds rewritingTime() {
  const char* seconds = std::getenv("QUORBITZ_STALL_SECONDS");
  return std::chrono::seconds(seconds ? std::max(1, std::atoi(seconds)) : 30);
}

void recordStalls(Results& results, const std::string& row, const Lateness& lateness) {
  results[row + "/longest_ms"] = lateness.longestMs;
  results[row + "/p99_ms"] = lateness.p99Ms;
  results[row + "/samples"] = static_cast<double>(lateness.samples);
  std::fprintf(stderr, "%s: longest %.1f ms, 99th percentile %.1f ms\n", row.c_str(),
               lateness.longestMs, lateness.p99Ms);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The rewrite-to-badge time and its floor in turns, so that a busy moment
// on the machine hits both alike.
void recordRewriteToLastBadge(Results& results, StallRun& run) {
  std::vector<double> rewrites;
  std::vector<double> stats;
  for (size_t i = 0; i < kTimingRepetitions; ++i) {
    run.settle();
    rewrites.push_back(run.rewriteToLastBadgeMs());
    stats.push_back(run.statCachedItemsMs());
  }
  releaseFreeMemory();
  results["rewrite_to_last_badge/100k_cached_ms"] = median(rewrites);
  results["floor/stat_100k_one_core_ms"] = median(stats);
  std::fprintf(stderr, "rewrite to last changed badge: %.0f ms, 100k stats %.0f ms\n",
               median(rewrites), median(stats));
}

Results cacheGrowing() {
  constexpr size_t kMostCached = 1'000'000;
  StallWorld world(100'000, kMostCached);
  StallRun run(world, kRealFiles);
  Results results;
  results["documents/cache_run_synced_paths"] = static_cast<double>(run.documentPaths());
  run.start();
  double residentGrowth = 0;
  for (size_t cached : {10'000, 100'000, 1'000'000}) {
    std::fprintf(stderr, "asking for badges up to %zu...\n", cached);
    residentGrowth += run.growCacheTo(cached);
    const std::string count =
        cached == kMostCached ? "1M" : std::to_string(cached / 1000) + "k";
    recordStalls(results, "stall/100k_synced/" + count + "_cached",
                 run.stallsWhileRewriting(rewritingTime()));
    if (cached == 100'000) recordRewriteToLastBadge(results, run);
  }
  results["badge_request/longest_while_growing_ms"] = run.longestRequestMs();
  results["badge_request/longest_at_cache_size"] =
      static_cast<double>(run.longestRequestAtCacheSize());
  results["memory/cached_item_average_bytes"] = run.averageItemBytes();
  results["memory/cached_badge_beyond_path_bytes"] =
      residentGrowth / kMostCached - run.averageItemBytes();
  return results;
}

Results largeStatus() {
  constexpr size_t kSynced = 1'000'000;
  StallWorld world(kSynced, 100'000);
  StallRun run(world, kRealFiles);
  Results results;
  results["documents/status_run_synced_paths"] = static_cast<double>(run.documentPaths());
  releaseFreeMemory();
  const size_t baseline = residentBytes();
  run.start();
  const double loaded = static_cast<double>(residentBytes() - baseline);
  results["memory/synced_path_average_bytes"] = world.averageSyncedPathBytes();
  results["memory/synced_path_beyond_path_bytes"] =
      loaded / static_cast<double>(run.documentPaths()) - world.averageSyncedPathBytes();
  std::fprintf(stderr, "asking for 100,000 badges...\n");
  run.growCacheTo(100'000);
  recordStalls(results, "stall/1M_synced/100k_cached",
               run.stallsWhileRewriting(rewritingTime()));
  run.settle();
  const size_t steady = residentBytes() - baseline;
  resetPeakResident();
  run.rewriteToLastBadgeMs();
  run.settle();
  const size_t peak = peakResidentBytes() - baseline;
  results["memory/reload_steady_mb"] = static_cast<double>(steady) / (1 << 20);
  results["memory/reload_peak_mb"] = static_cast<double>(peak) / (1 << 20);
  results["memory/reload_peak_over_steady"] =
      static_cast<double>(peak) / static_cast<double>(steady);
  return results;
}

bool writeResults(const Results& results, const char* path) {
  std::ofstream out(path);
  out << "{";
  const char* separator = "\n";
  for (const auto& [name, value] : results) {
    out << separator << "  \"" << name << "\": " << value;
    separator = ",\n";
  }
  out << "\n}\n";
  return static_cast<bool>(out);
}

}  // namespace
}  // namespace quorbitz::bench

int main(int argc, char** argv) {
  using namespace quorbitz::bench;
  const std::string scenario = argc == 3 ? argv[1] : "";
  if (scenario != "cache" && scenario != "status") {
    std::fprintf(stderr, "usage: %s cache|status RESULTS.json\n", argv[0]);
    return 2;
  }
  const Results results = scenario == "cache" ? cacheGrowing() : largeStatus();
  return writeResults(results, argv[2]) ? 0 : 1;
}
