// SPDX-License-Identifier: Apache-2.0
// The large world: 50 roots, 100,000 entries in each list of the film root,
// and a badge cache of 1,000,000 entries filled by real badge requests.
// Built once per run, on first use (several seconds).
#pragma once

#include <cstddef>

#include "bench_world.h"

namespace quorbitz::bench {

inline constexpr size_t kLargeRootCount = 50;
inline constexpr size_t kLargeListSize = 100'000;
inline constexpr size_t kLargeCacheSize = 1'000'000;

struct LargeWorld {
  World& world;
  // Heap growth while the cache filled, per cache entry.
  double cacheBytesPerEntry;
};

LargeWorld& largeWorld();

}  // namespace quorbitz::bench
