// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/glib_run_loop.h"

#include <gio/gio.h>
#include <glib.h>

namespace quorbitz {

struct GlibRunLoop::Timer {
  std::function<void()> block;
  unsigned source = 0;
};

GlibRunLoop::GlibRunLoop(bool timersEnabled) : timersEnabled_(timersEnabled) {}

GlibRunLoop::~GlibRunLoop() {
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
  mainQueue_.push_back(std::move(work));
  if (!idleSource_) idleSource_ = g_idle_add(&GlibRunLoop::onIdle, this);
}

int GlibRunLoop::onIdle(void* self) {
  auto* loop = static_cast<GlibRunLoop*>(self);
  loop->idleSource_ = 0;
  loop->drainMainQueue();
  if (loop->afterQueueDrained_) loop->afterQueueDrained_();
  return G_SOURCE_REMOVE;
}

void GlibRunLoop::fireTimers() {
  for (const auto& timer : timers_) timer->block();
}

void GlibRunLoop::drainMainQueue() {
  while (!mainQueue_.empty()) {
    std::function<void()> work = std::move(mainQueue_.front());
    mainQueue_.pop_front();
    work();
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
  GFile* file = g_file_new_for_path(path.c_str());
  GFileMonitor* monitor =
      g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
  g_object_unref(file);
  if (!monitor) return;
  // Plain CHANGED events come while a writer is still writing; waiting for
  // the close (CHANGES_DONE_HINT) avoids reading a half-written file.
  g_signal_connect(
      monitor, "changed",
      G_CALLBACK(+[](GFileMonitor*, GFile*, GFile*, GFileMonitorEvent event,
                     gpointer self) {
        switch (event) {
          case G_FILE_MONITOR_EVENT_CHANGES_DONE_HINT:
          case G_FILE_MONITOR_EVENT_CREATED:
          case G_FILE_MONITOR_EVENT_ATTRIBUTE_CHANGED:
          case G_FILE_MONITOR_EVENT_MOVED_IN:
          case G_FILE_MONITOR_EVENT_RENAMED:
            static_cast<GlibRunLoop*>(self)->fireTimers();
            break;
          default:
            break;
        }
      }),
      this);
  fileMonitor_ = monitor;
}

void GlibRunLoop::setAfterQueueDrained(std::function<void()> hook) {
  afterQueueDrained_ = std::move(hook);
}

}  // namespace quorbitz
