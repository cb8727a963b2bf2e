// SPDX-License-Identifier: Apache-2.0
#include "main_thread_probe.h"

#include <glib.h>
#include <time.h>

#include <algorithm>
#include <chrono>

namespace quorbitz::bench {
namespace {

using Clock = std::chrono::steady_clock;

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             Clock::now().time_since_epoch())
      .count();
}

}  // namespace

struct MainThreadProbe::Post {
  MainThreadProbe* probe;
  int64_t postedNs;
};

MainThreadProbe::~MainThreadProbe() {
  posting_ = false;
  if (poster_.joinable()) poster_.join();
}

void MainThreadProbe::start() {
  latenessNs_.clear();
  posted_ = 0;
  ran_ = 0;
  posting_ = true;
  poster_ = std::thread([this] { postEveryMillisecond(); });
}

void MainThreadProbe::stop() {
  posting_ = false;
  poster_.join();
  while (ran_ < posted_) g_main_context_iteration(nullptr, TRUE);
}

void MainThreadProbe::postEveryMillisecond() {
  struct timespec next;
  clock_gettime(CLOCK_MONOTONIC, &next);
  while (posting_) {
    next.tv_nsec += 1'000'000;
    if (next.tv_nsec >= 1'000'000'000) {
      next.tv_nsec -= 1'000'000'000;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    // A file manager's input events come at the default priority; its
    // redraws just below. GLib's idle sources are safe to add from any thread.
    g_idle_add_full(G_PRIORITY_DEFAULT, &MainThreadProbe::onPost, new Post{this, nowNs()},
                    nullptr);
    ++posted_;
  }
}

int MainThreadProbe::onPost(void* data) {
  auto* post = static_cast<Post*>(data);
  post->probe->latenessNs_.push_back(nowNs() - post->postedNs);
  ++post->probe->ran_;
  delete post;
  return G_SOURCE_REMOVE;
}

Lateness MainThreadProbe::lateness() const {
  std::vector<int64_t> sorted = latenessNs_;
  if (sorted.empty()) return {};
  std::sort(sorted.begin(), sorted.end());
  const size_t p99 = std::min(sorted.size() - 1, sorted.size() * 99 / 100);
  return {static_cast<double>(sorted.back()) / 1e6,
          static_cast<double>(sorted[p99]) / 1e6, sorted.size()};
}

}  // namespace quorbitz::bench
