// SPDX-License-Identifier: Apache-2.0
// A controller in the stand-in host's kind of run loop (GLib, timers on,
// early ticks when status.json changes) over a StallWorld, driven through
// the entry points a file manager calls.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "main_thread_probe.h"
#include "platform/linux/glib_run_loop.h"
#include "quiet_platform.h"
#include "stall_world.h"
#include "status/finder_sync.h"
#include "status_rewriter.h"

namespace quorbitz::bench {

class StallRun {
 public:
  // Writes both documents, the first as status.json, and the first
  // `realFiles` items.
  StallRun(const StallWorld& world, size_t realFiles);
  StallRun(const StallRun&) = delete;
  StallRun& operator=(const StallRun&) = delete;

  // Creates the controller, watches the file and waits for the first load.
  void start();
  // Asks about items until `cachedItems` have a badge, timing each request;
  // returns the growth in resident memory.
  double growCacheTo(size_t cachedItems);
  // The main thread's lateness while status.json is rewritten once a second.
  Lateness stallsWhileRewriting(std::chrono::seconds duration);
  // Runs the main loop until two seconds pass without a load or a badge.
  void settle();
  // From a rewrite to the last changed badge handed to the file manager.
  double rewriteToLastBadgeMs();
  // One stat of each cached item in the order they were asked about, on
  // this thread.
  double statCachedItemsMs() const;

  size_t documentPaths() const { return documentPaths_; }
  double longestRequestMs() const { return longestRequestMs_; }
  size_t longestRequestAtCacheSize() const { return longestRequestAt_; }
  double averageItemBytes() const {
    return cached_ ? static_cast<double>(itemBytes_) / static_cast<double>(cached_) : 0;
  }

 private:
  const StallWorld& world_;
  QuietParts parts_;
  GlibRunLoop runLoop_{true};
  std::unique_ptr<StatusRewriter> rewriter_;
  std::shared_ptr<FinderSync> controller_;
  MainThreadProbe probe_;
  size_t documentPaths_ = 0;
  size_t cached_ = 0;
  size_t itemBytes_ = 0;
  double longestRequestMs_ = 0;
  size_t longestRequestAt_ = 0;
};

}  // namespace quorbitz::bench
