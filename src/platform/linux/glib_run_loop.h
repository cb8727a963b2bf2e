// SPDX-License-Identifier: Apache-2.0
// The run loop and main queue on GLib's default main context.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace quorbitz {

class GlibRunLoop final : public RunLoop {
 public:
  // With `timersEnabled` false, timers are only remembered and fire only
  // through fireTimers(), so that scripts decide when a tick happens.
  explicit GlibRunLoop(bool timersEnabled);
  ~GlibRunLoop() override;
  GlibRunLoop(const GlibRunLoop&) = delete;
  GlibRunLoop& operator=(const GlibRunLoop&) = delete;

  void scheduleRepeatingTimer(std::chrono::milliseconds interval,
                              std::function<void()> block) override;
  void dispatchToMain(std::function<void()> work) override;
  // Two worker threads, started on first use, take background work in the
  // order it came; two pieces of it may run at once.
  void dispatchToBackground(std::function<void()> work) override;
  // Waits for the background work under way and drops the rest. For an
  // owner whose members that work uses (the file system) go before the run
  // loop itself.
  void stopBackgroundWork();

  // Runs every timer's block once, now: one tick.
  void fireTimers();
  // Runs queued work, including work it queues and the results of
  // background work still under way, until nothing is left.
  void drainMainQueue();
  // Runs the main context for `duration`, serving timers and queued work.
  void runFor(std::chrono::milliseconds duration);
  // Runs the main context until `done` holds or `timeout` passes; true when
  // `done` held.
  bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // When timers are enabled, a finished change of the file at `path`
  // (written and closed, replaced by a rename, touched, created in a folder
  // that appeared later) fires an extra tick at once, so that changes show
  // within moments instead of at the next interval. Its creation alone fires
  // none: the content comes later. The timers stay the guarantee where no
  // change signal arrives (network file systems).
  void watchFileForEarlyTicks(const std::string& path);
  // Called after queued work has run from the main context (for example to
  // flush output that the work produced).
  void setAfterQueueDrained(std::function<void()> hook);

 private:
  struct Timer;
  static int onIdle(void* self);
  // Ticks at once when a file is renamed onto the watched one, where the
  // system can say so; a no-op while that watch is in place.
  void watchRenamesOntoFile();
  void stopWatchingRenames();
  std::function<void()> takeQueued();
  void runWorker();

  bool timersEnabled_;
  std::vector<std::unique_ptr<Timer>> timers_;

  // The main queue, fed from any thread. The main context takes what was
  // queued before each of its turns, one turn at a time, so that work which
  // queues its own continuation lets the file manager draw in between.
  std::mutex queueMutex_;
  std::condition_variable queueChanged_;
  std::deque<std::function<void()>> mainQueue_;
  unsigned idleSource_ = 0;
  size_t backgroundUnfinished_ = 0;

  std::deque<std::function<void()>> backgroundQueue_;
  bool stopping_ = false;
  static constexpr size_t kWorkers = 2;
  std::vector<std::thread> workers_;
  std::function<void()> afterQueueDrained_;
  void* fileMonitor_ = nullptr;
  std::string watchedFile_;
  int renameWatch_ = -1;
  unsigned renameSource_ = 0;
};

}  // namespace quorbitz
