// SPDX-License-Identifier: Apache-2.0
// A badge request for a file deep in a root, against its floor: one stat and
// one line appended to a log file in the shared directory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "bench_environment.h"
#include "bench_world.h"
#include "diagnostics/trace_log.h"
#include "large_world.h"

namespace quorbitz::bench {
namespace {

void requestDeepItem(benchmark::State& state, World& world) {
  const std::string item = deepItemPath();
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
