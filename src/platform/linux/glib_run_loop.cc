// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/glib_run_loop.h"

#if defined(__linux__)
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>
#elif defined(__APPLE__)
#include <pthread.h>
#endif

#include <gio/gio.h>
#include <glib.h>
#if defined(__linux__)
#include <glib-unix.h>
#endif

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
  stopWatchingRenames();
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
        if (finished) {
          // The folder may have appeared since the last look.
          loop->watchRenamesOntoFile();
          loop->fireTimers();
        }
      }),
      this);
  fileMonitor_ = monitor;
  watchRenamesOntoFile();
}

// The main application writes a finished copy beside status.json and renames
// it over the file. GLib's backend takes the copy's events, which are not
// the file's, as a sign to rest for 100 ms, and so mostly sees the rename
// that late. Renames into the folder are rare (the trace log is only ever
// appended to), so a watch of its own for them costs the main thread
// nothing, and the file's monitor stays for everything else.
void GlibRunLoop::watchRenamesOntoFile() {
#if defined(__linux__)
  if (renameWatch_ >= 0) return;
  const size_t slash = watchedFile_.rfind('/');
  if (slash == std::string::npos) return;
  const std::string folder = slash == 0 ? std::string("/") : watchedFile_.substr(0, slash);
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch < 0) return;
  if (inotify_add_watch(watch, folder.c_str(), IN_MOVED_TO | IN_MOVE_SELF | IN_ONLYDIR) < 0) {
    close(watch);
    return;
  }
  renameWatch_ = watch;
  renameSource_ = g_unix_fd_add(
      watch, G_IO_IN,
      [](int fd, GIOCondition, gpointer self) -> gboolean {
        auto* loop = static_cast<GlibRunLoop*>(self);
        const std::string_view name =
            std::string_view(loop->watchedFile_).substr(loop->watchedFile_.rfind('/') + 1);
        bool renamedOnto = false;
        bool watchGone = false;
        alignas(struct inotify_event) char events[4096];
        ssize_t got;
        while ((got = read(fd, events, sizeof events)) > 0) {
          for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(events + at);
            // The folder moved or went away: the file's monitor, which
            // follows the path, brings the watch back once it is there.
            if (event->mask & (IN_MOVE_SELF | IN_IGNORED)) watchGone = true;
            if ((event->mask & IN_MOVED_TO) && event->len > 0 && name == event->name) {
              renamedOnto = true;
            }
            at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
          }
        }
        if (watchGone) {
          close(loop->renameWatch_);
          loop->renameWatch_ = -1;
          loop->renameSource_ = 0;
        }
        if (renamedOnto) loop->fireTimers();
        return watchGone ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
      },
      this);
#endif
}

void GlibRunLoop::stopWatchingRenames() {
#if defined(__linux__)
  if (renameSource_) g_source_remove(renameSource_);
  renameSource_ = 0;
  if (renameWatch_ >= 0) close(renameWatch_);
  renameWatch_ = -1;
#endif
}

void GlibRunLoop::setAfterQueueDrained(std::function<void()> hook) {
  afterQueueDrained_ = std::move(hook);
}

}  // namespace quorbitz
