// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/glib_run_loop.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#elif defined(__APPLE__)
#include <pthread.h>
#endif

#include <gio/gio.h>
#include <glib.h>

namespace quorbitz {

struct GlibRunLoop::Timer {
  std::function<void()> block;
  unsigned source = 0;
};

GlibRunLoop::GlibRunLoop(bool timersEnabled) : timersEnabled_(timersEnabled) {}

GlibRunLoop::~GlibRunLoop() {
  stopBackgroundWork();
  for (const auto& timer : timers_) {
    if (timer->source) g_source_remove(timer->source);
  }
  if (idleSource_) g_source_remove(idleSource_);
  if (fileMonitor_) {
    g_file_monitor_cancel(G_FILE_MONITOR(fileMonitor_));
    g_object_unref(fileMonitor_);
  }
}

void GlibRunLoop::scheduleRepeatingTimer(std::chrono::milliseconds interval,
                                         std::function<void()> block) {
  auto timer = std::make_unique<Timer>();
  timer->block = std::move(block);
  if (timersEnabled_) {
    timer->source = g_timeout_add(
        static_cast<guint>(interval.count()),
        [](gpointer data) -> gboolean {
          static_cast<Timer*>(data)->block();
          return G_SOURCE_CONTINUE;
        },
        timer.get());
  }
  timers_.push_back(std::move(timer));
}

void GlibRunLoop::dispatchToMain(std::function<void()> work) {
  std::lock_guard lock(queueMutex_);
  mainQueue_.push_back(std::move(work));
  if (!idleSource_) idleSource_ = g_idle_add(&GlibRunLoop::onIdle, this);
  queueChanged_.notify_all();
}

void GlibRunLoop::stopBackgroundWork() {
  {
    std::lock_guard lock(queueMutex_);
    stopping_ = true;
    backgroundUnfinished_ -= backgroundQueue_.size();
    backgroundQueue_.clear();
  }
  queueChanged_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

void GlibRunLoop::dispatchToBackground(std::function<void()> work) {
  std::lock_guard lock(queueMutex_);
  if (stopping_) return;
  // Two workers: a re-evaluation's stats run two batches at a time, and a
  // new load need not wait behind them.
  while (workers_.size() < kWorkers) workers_.emplace_back([this] { runWorker(); });
  backgroundQueue_.push_back(std::move(work));
  ++backgroundUnfinished_;
  queueChanged_.notify_all();
}

namespace {

// Below the file manager's own threads, as background work is on macOS: a
// batch of stats can wait, a window that redraws should not. Elsewhere the
// thread keeps the process's priority.
void lowerThisThreadsPriority() {
#if defined(__linux__)
  // Linux gives each thread a niceness of its own, set through its id.
  constexpr int kBackgroundNiceness = 10;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kBackgroundNiceness);
#elif defined(__APPLE__)
  pthread_set_qos_class_self_np(QOS_CLASS_UTILITY, 0);
#endif
}

}  // namespace

void GlibRunLoop::runWorker() {
  lowerThisThreadsPriority();
  std::unique_lock lock(queueMutex_);
  while (true) {
    queueChanged_.wait(lock, [this] { return stopping_ || !backgroundQueue_.empty(); });
    if (stopping_) return;
    std::function<void()> work = std::move(backgroundQueue_.front());
    backgroundQueue_.pop_front();
    lock.unlock();
    try {
      work();
    } catch (...) {
      // The work reports its own failures; nothing may end the thread.
    }
    work = nullptr;
    lock.lock();
    --backgroundUnfinished_;
    queueChanged_.notify_all();
  }
}

std::function<void()> GlibRunLoop::takeQueued() {
  std::lock_guard lock(queueMutex_);
  if (mainQueue_.empty()) return nullptr;
  std::function<void()> work = std::move(mainQueue_.front());
  mainQueue_.pop_front();
  return work;
}

int GlibRunLoop::onIdle(void* self) {
  auto* loop = static_cast<GlibRunLoop*>(self);
  size_t queued;
  {
    std::lock_guard lock(loop->queueMutex_);
    queued = loop->mainQueue_.size();
  }
  for (; queued > 0; --queued) {
    if (std::function<void()> work = loop->takeQueued()) work();
  }
  if (loop->afterQueueDrained_) loop->afterQueueDrained_();
  std::lock_guard lock(loop->queueMutex_);
  if (!loop->mainQueue_.empty()) return G_SOURCE_CONTINUE;
  loop->idleSource_ = 0;
  return G_SOURCE_REMOVE;
}

void GlibRunLoop::fireTimers() {
  for (const auto& timer : timers_) timer->block();
}

void GlibRunLoop::drainMainQueue() {
  while (true) {
    while (std::function<void()> work = takeQueued()) work();
    std::unique_lock lock(queueMutex_);
    if (backgroundUnfinished_ == 0 && mainQueue_.empty()) return;
    queueChanged_.wait(lock,
                       [this] { return backgroundUnfinished_ == 0 || !mainQueue_.empty(); });
  }
}

void GlibRunLoop::runFor(std::chrono::milliseconds duration) {
  runUntil([] { return false; }, duration);
}

bool GlibRunLoop::runUntil(const std::function<bool()>& done,
                           std::chrono::milliseconds timeout) {
  bool elapsed = false;
  guint deadline = g_timeout_add(
      static_cast<guint>(timeout.count()),
      [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
      },
      &elapsed);
  while (!done()) {
    if (elapsed) return false;
    g_main_context_iteration(nullptr, TRUE);
  }
  if (!elapsed) g_source_remove(deadline);
  return true;
}

void GlibRunLoop::watchFileForEarlyTicks(const std::string& path) {
  if (!timersEnabled_ || fileMonitor_) return;
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return;
  watchedFile_ = path;
  // A monitor of the file, not of its folder: the trace log beside it is
  // written on every badge request, and a folder monitor would wake the
  // main thread for each of those lines. GLib's inotify backend watches the
  // folder on its own thread and passes on only this file's events,
  // including its creation later, a finished copy renamed over it, and (by
  // polling) a folder that appears later. The price: after a burst of such
  // unrelated events the backend rests for 100 ms, so a rewrite right after
  // one is seen up to 100 ms later.
  GFile* file = g_file_new_for_path(watchedFile_.c_str());
  GFileMonitor* monitor =
      g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
  g_object_unref(file);
  if (!monitor) return;
  g_signal_connect(
      monitor, "changed",
      G_CALLBACK(+[](GFileMonitor*, GFile* file, GFile* other, GFileMonitorEvent event,
                     gpointer self) {
        auto* loop = static_cast<GlibRunLoop*>(self);
        auto names = [](GFile* item, const std::string& path) {
          const char* itemPath = item ? g_file_peek_path(item) : nullptr;
          return itemPath && path == itemPath;
        };
        bool finished = false;
        switch (event) {
          // A writer is done at the close (CHANGES_DONE_HINT), never at the
          // creation: a file created empty and then written would be read
          // before its content arrived.
          case G_FILE_MONITOR_EVENT_CHANGES_DONE_HINT:
          case G_FILE_MONITOR_EVENT_ATTRIBUTE_CHANGED:  // touched
          case G_FILE_MONITOR_EVENT_MOVED_IN:
            finished = names(file, loop->watchedFile_);
            break;
          case G_FILE_MONITOR_EVENT_RENAMED:
            finished = names(other, loop->watchedFile_);
            break;
          default:
            break;
        }
        if (finished) loop->fireTimers();
      }),
      this);
  fileMonitor_ = monitor;
}

void GlibRunLoop::setAfterQueueDrained(std::function<void()> hook) {
  afterQueueDrained_ = std::move(hook);
}

}  // namespace quorbitz
