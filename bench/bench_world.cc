// SPDX-License-Identifier: Apache-2.0
#include "bench_world.h"

#include <malloc.h>

namespace quorbitz::bench {

World::World(const std::vector<RootShape>& roots) {
  BenchEnvironment::get().writeStatus(statusJson(roots));
  controller = FinderSync::create(platform.platform());
}

void World::requestBadges(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) controller->requestBadgeIdentifierForURL(path);
}

void World::timeReloads(benchmark::State& state) {
  const uint64_t loadsBefore = platform.systemLog.lines;
  for (auto _ : state) {
    state.PauseTiming();
    BenchEnvironment::get().touchStatus();
    state.ResumeTiming();
    platform.runLoop.tick();
  }
  if (platform.systemLog.lines - loadsBefore != static_cast<uint64_t>(state.iterations())) {
    state.SkipWithError("a tick did not reload");
  }
}

size_t World::badgeRequestsAnswered() const { return platform.finder.badgesAssigned; }

size_t heapBytesInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace quorbitz::bench
