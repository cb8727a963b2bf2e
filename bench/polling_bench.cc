// SPDX-License-Identifier: Apache-2.0
// A polling tick on an unchanged status.json, against one stat of it.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include "bench_environment.h"
#include "bench_world.h"

namespace quorbitz::bench {
namespace {

std::vector<RootShape> smallRoots() {
  std::vector<RootShape> roots;
  for (size_t i = 0; i < 5; ++i) {
    roots.push_back({showRoot(i), clipPaths("Footage", 0, 100), clipPaths("Archive", 0, 10),
                     clipPaths("Graded", 0, 10)});
  }
  return roots;
}

void pollingTickUnchanged(benchmark::State& state) {
  World world(smallRoots());
  const uint64_t loadsBefore = world.platform.systemLog.lines;
  for (auto _ : state) world.platform.runLoop.tick();
  if (world.platform.systemLog.lines != loadsBefore) {
    state.SkipWithError("an unchanged status.json was loaded again");
  }
}
BENCHMARK(pollingTickUnchanged)->Name("polling_tick/unchanged");

void statFloor(benchmark::State& state) {
  BenchEnvironment::get().writeStatus("{}");
  const std::string path = BenchEnvironment::get().statusPath();
  for (auto _ : state) {
    struct stat info;
    benchmark::DoNotOptimize(::stat(path.c_str(), &info));
  }
}
BENCHMARK(statFloor)->Name("floor/stat");

}  // namespace
}  // namespace quorbitz::bench
