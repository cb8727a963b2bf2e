// SPDX-License-Identifier: Apache-2.0
#include "stall_run.h"

#include <glib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_environment.h"
#include "resident_memory.h"

namespace quorbitz::bench {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

StallRun::StallRun(const StallWorld& world, size_t realFiles) : world_(world) {
  size_t otherPaths = 0;
  rewriter_ = std::make_unique<StatusRewriter>(
      BenchEnvironment::get().statusPath(), BenchEnvironment::get().root() + "/documents",
      world.document(0, &documentPaths_), world.document(1, &otherPaths));
  world.createRealFiles(realFiles);
  rewriter_->rewrite();
}

void StallRun::start() {
  const uint64_t linesBefore = parts_.systemLog.lines;
  controller_ = FinderSync::create(parts_.platform(runLoop_));
  runLoop_.watchFileForEarlyTicks(BenchEnvironment::get().statusPath());
  // A load may finish after create returns; its log line says it has.
  if (!runLoop_.runUntil([&] { return parts_.systemLog.lines > linesBefore; },
                         std::chrono::minutes(10))) {
    std::fprintf(stderr, "the status never loaded\n");
    std::abort();
  }
}

double StallRun::growCacheTo(size_t cachedItems) {
  releaseFreeMemory();
  const size_t residentBefore = residentBytes();
  const uint64_t answeredBefore = parts_.finder.badgesAssigned;
  for (size_t ordinal = cached_; ordinal < cachedItems; ++ordinal) {
    const std::string item = world_.item(ordinal);
    const Clock::time_point start = Clock::now();
    controller_->requestBadgeIdentifierForURL(item);
    const double took = millisecondsBetween(start, Clock::now());
    if (took > longestRequestMs_) {
      longestRequestMs_ = took;
      longestRequestAt_ = ordinal;
    }
    itemBytes_ += item.size();
    // The file manager asks about a folder's items and goes back to its main
    // loop, which takes the file monitor's news of the trace lines written.
    if (ordinal % StallWorld::kReelSize == StallWorld::kReelSize - 1) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
    }
  }
  const size_t residentAfter = residentBytes();
  if (parts_.finder.badgesAssigned - answeredBefore != cachedItems - cached_) {
    std::fprintf(stderr, "not every request got a badge\n");
    std::abort();
  }
  cached_ = cachedItems;
  return static_cast<double>(residentAfter) - static_cast<double>(residentBefore);
}

Lateness StallRun::stallsWhileRewriting(std::chrono::seconds duration) {
  probe_.start();
  rewriter_->startOncePerSecond(duration);
  runLoop_.runUntil([this] { return rewriter_->finished(); }, duration * 20);
  rewriter_->join();
  probe_.stop();
  // The last rewrite's badges may still be on their way on a busy machine;
  // what comes next counts the badges it asks for.
  settle();
  return probe_.lateness();
}

void StallRun::settle() {
  uint64_t badges;
  uint64_t loads;
  do {
    badges = parts_.finder.badgesAssigned;
    loads = parts_.systemLog.lines;
    runLoop_.runFor(std::chrono::seconds(2));
  } while (badges != parts_.finder.badgesAssigned || loads != parts_.systemLog.lines);
}

double StallRun::rewriteToLastBadgeMs() {
  const uint64_t before = parts_.finder.badgesAssigned;
  const size_t changing = StallWorld::changingItems(cached_);
  const Clock::time_point rewritten = rewriter_->rewrite();
  const bool done =
      runLoop_.runUntil([&] { return parts_.finder.badgesAssigned - before >= changing; },
                        std::chrono::minutes(5));
  if (!done) {
    std::fprintf(stderr, "a rewrite did not change the %zu badges it should\n", changing);
    std::abort();
  }
  return millisecondsBetween(rewritten, parts_.finder.lastBadgeAt);
}

double StallRun::statCachedItemsMs() const {
  std::vector<std::string> items;
  items.reserve(cached_);
  for (size_t ordinal = 0; ordinal < cached_; ++ordinal)
    items.push_back(world_.item(ordinal));
  const Clock::time_point start = Clock::now();
  for (const std::string& item : items) {
    struct stat info;
    if (::stat(item.c_str(), &info) != 0) info.st_size = 0;
  }
  return millisecondsBetween(start, Clock::now());
}

}  // namespace quorbitz::bench
