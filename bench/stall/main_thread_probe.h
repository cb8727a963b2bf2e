// SPDX-License-Identifier: Apache-2.0
// How long the main thread keeps everything else waiting. A thread of its own
// posts a timestamped no-op into GLib's default main context every
// millisecond, at the priority of input events; the no-op records, on the
// main thread, how late it ran. The longest lateness is the longest block a
// user could have felt (to within the millisecond between posts).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

namespace quorbitz::bench {

struct Lateness {
  double longestMs = 0;
  double p99Ms = 0;
  size_t samples = 0;
};

class MainThreadProbe {
 public:
  MainThreadProbe() = default;
  ~MainThreadProbe();
  MainThreadProbe(const MainThreadProbe&) = delete;
  MainThreadProbe& operator=(const MainThreadProbe&) = delete;

  // Starts posting, with the samples of any earlier run dropped.
  void start();
  // Stops posting and iterates the main context until every posted no-op has
  // run. Called on the main thread.
  void stop();
  Lateness lateness() const;

 private:
  struct Post;
  static int onPost(void* post);
  void postEveryMillisecond();

  std::thread poster_;
  std::atomic<bool> posting_ = false;
  std::atomic<uint64_t> posted_ = 0;
  // Touched by the main thread only.
  uint64_t ran_ = 0;
  std::vector<int64_t> latenessNs_;
};

}  // namespace quorbitz::bench
