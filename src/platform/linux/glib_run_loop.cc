#include "platform/linux/glib_run_loop.h"

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
  bool elapsed = false;
  g_timeout_add(
      static_cast<guint>(duration.count()),
      [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
      },
      &elapsed);
  while (!elapsed) g_main_context_iteration(nullptr, TRUE);
}

void GlibRunLoop::setAfterQueueDrained(std::function<void()> hook) {
  afterQueueDrained_ = std::move(hook);
}

}  // namespace quorbitz
