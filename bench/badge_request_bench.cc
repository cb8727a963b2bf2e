// SPDX-License-Identifier: Apache-2.0
// A badge request for a file deep in a root, against its floor: one stat and
// one line appended to a log file in the shared directory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <malloc.h>

#include <cstdlib>

#include "bench_environment.h"
#include "bench_world.h"
#include "diagnostics/trace_log.h"
#include "large_world.h"

namespace quorbitz::bench {
namespace {

constexpr size_t kManyRoots = 5000;

// These rows build and drop large worlds between the others' repetitions; the
// memory goes back to the system so that the allocation-heavy rows after them
// (decoding above all) do not pay for a fragmented heap.
void releaseHeap() { malloc_trim(0); }

void requestDeepItem(benchmark::State& state, World& world,
                     const std::string& item = deepItemPath()) {
  const size_t answeredBefore = world.badgeRequestsAnswered();
  for (auto _ : state) world.controller->requestBadgeIdentifierForURL(item);
  if (world.badgeRequestsAnswered() - answeredBefore !=
      static_cast<size_t>(state.iterations())) {
    state.SkipWithError("a request went unanswered");
  }
}

void badgeRequestEmptyLists(benchmark::State& state) {
  ensureFile(deepItemPath());
  World world({{filmRoot(), {}, {}, {}}});
  requestDeepItem(state, world);
}
BENCHMARK(badgeRequestEmptyLists)->Name("badge_request/empty_lists");

void badgeRequestLargeStatus(benchmark::State& state) {
  requestDeepItem(state, largeWorld().world);
}
BENCHMARK(badgeRequestLargeStatus)->Name("badge_request/large_status");

// 5000 roots beside the film root, their names in plain ASCII or spelled
// with a decomposed accent ("Sce\u0300ne"), which only canonical comparison
// matches.
void badgeRequestManyRoots(benchmark::State& state, std::string_view name) {
  ensureFile(deepItemPath());
  std::vector<RootShape> roots;
  for (size_t i = 0; i < kManyRoots; ++i) {
    roots.push_back({showRoot(i) + "/" + std::string(name) + std::to_string(i), {}, {}, {}});
  }
  roots.push_back({filmRoot(), {}, {}, {}});
  {
    World world(roots);
    requestDeepItem(state, world);
  }
  releaseHeap();
}
BENCHMARK_CAPTURE(badgeRequestManyRoots, ascii, "Scene-")
    ->Name("badge_request/5000_ascii_roots");
BENCHMARK_CAPTURE(badgeRequestManyRoots, non_ascii, "Sce\xCC\x80ne-")
    ->Name("badge_request/5000_non_ascii_roots");

// An item 16 or 64 KiB deep (too long for the file system, so it counts as a
// file), below a root with kept-local and locked folders, whose ancestors
// the badge choice looks up.
void badgeRequestLongPath(benchmark::State& state, size_t length) {
  std::string item = filmRoot();
  while (item.size() < length) item += "/Sce\xCC\x80ne";
  {
    World world({{filmRoot(), {}, clipPaths("Cache", 0, 100), clipPaths("Locked", 0, 100)}});
    requestDeepItem(state, world, item);
  }
  releaseHeap();
}
BENCHMARK_CAPTURE(badgeRequestLongPath, 16k, 16 << 10)->Name("badge_request/16k_path");
BENCHMARK_CAPTURE(badgeRequestLongPath, 64k, 64 << 10)->Name("badge_request/64k_path");

void badgeRequestFloor(benchmark::State& state) {
  const std::string item = deepItemPath();
  ensureFile(item);
  const std::string log = BenchEnvironment::get().finderDir() + "/floor-trace.log";
  writeWholeFile(log, "");
  const std::string line = "2026-12-06T15:59:27Z badge? " + item + " -> pending\n";
  for (auto _ : state) {
    struct stat info;
    benchmark::DoNotOptimize(::stat(item.c_str(), &info));
    int fd = ::open(log.c_str(), O_WRONLY | O_CLOEXEC);
    off_t end = ::lseek(fd, 0, SEEK_END);
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
      std::abort();
    }
    // Bounded like the trace log, at a negligible one call in twenty thousand.
    if (end > static_cast<off_t>(kTraceLogLimit) && ::ftruncate(fd, 0) != 0) std::abort();
    ::close(fd);
  }
}
BENCHMARK(badgeRequestFloor)->Name("floor/badge_request");

}  // namespace
}  // namespace quorbitz::bench
