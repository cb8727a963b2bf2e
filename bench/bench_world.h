// SPDX-License-Identifier: Apache-2.0
// A controller started over a quiet platform on a status.json of the
// benchmark's choosing.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench_environment.h"
#include "quiet_platform.h"
#include "status/finder_sync.h"
#include "status_json.h"

namespace quorbitz::bench {

struct World {
  // Writes the status of `roots` and starts a controller on it.
  explicit World(const std::vector<RootShape>& roots);
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  void requestBadges(const std::vector<std::string>& paths);
  // Times one polling tick per iteration, each after a newer date on
  // status.json (untimed), and fails the benchmark if a tick did not reload.
  void timeReloads(benchmark::State& state);
  size_t badgeRequestsAnswered() const;

  QuietPlatform platform;
  std::shared_ptr<FinderSync> controller;
};

// Heap bytes in use now, from mallinfo2 (allocated chunks plus mapped blocks).
size_t heapBytesInUse();

}  // namespace quorbitz::bench
