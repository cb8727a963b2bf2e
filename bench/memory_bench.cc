// SPDX-License-Identifier: Apache-2.0
// Heap held per badge-cache entry and per synced path, from a run with
// 1,000,000 of each, measured with mallinfo2: bytes in allocated chunks plus
// mapped blocks, before and after.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "large_world.h"

namespace quorbitz::bench {
namespace {

constexpr size_t kSyncedPaths = 1'000'000;

double syncedBytesPerPath() {
  std::vector<RootShape> roots = syncedRoots(kSyncedPaths);
  size_t loaded = 0;
  size_t released = 0;
  {
    World world(roots);
    roots.clear();
    roots.shrink_to_fit();
    // What the controller holds is exactly what its destruction gives back;
    // the decoder's parser keeps its buffers and so is not counted.
    loaded = heapBytesInUse();
    world.controller.reset();
    released = heapBytesInUse();
  }
  return static_cast<double>(loaded - released) / kSyncedPaths;
}

void memoryHeld(benchmark::State& state) {
  static const double cacheBytes = largeWorld().cacheBytesPerEntry;
  static const double syncedBytes = syncedBytesPerPath();
  for (auto _ : state) {
    double held = cacheBytes;
    benchmark::DoNotOptimize(held);
  }
  state.counters["cache_bytes_per_entry"] = cacheBytes;
  state.counters["synced_bytes_per_path"] = syncedBytes;
}
BENCHMARK(memoryHeld)->Name("memory/1M")->Iterations(1)->Repetitions(1);

}  // namespace
}  // namespace quorbitz::bench
