// SPDX-License-Identifier: Apache-2.0
// Rewrites status.json the way the main application does: a new file written
// beside it and renamed over it. Two documents take turns, so that every
// rewrite changes the badges that differ between them.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace quorbitz::bench {

class StatusRewriter {
 public:
  using Clock = std::chrono::steady_clock;

  // Keeps the two documents as files in `spareFolder`, outside the folder
  // the extension watches.
  StatusRewriter(std::string statusPath, const std::string& spareFolder,
                 const std::string& first, const std::string& second);
  ~StatusRewriter();
  StatusRewriter(const StatusRewriter&) = delete;
  StatusRewriter& operator=(const StatusRewriter&) = delete;

  // Puts the other document in place; returns the moment of the rename.
  Clock::time_point rewrite();
  // Rewrites once a second for `duration` on a thread of its own.
  void startOncePerSecond(std::chrono::seconds duration);
  bool finished() const { return finished_; }
  void join();

 private:
  std::string statusPath_;
  std::string documents_[2];
  int next_ = 0;
  std::thread writer_;
  std::atomic<bool> finished_ = true;
};

}  // namespace quorbitz::bench
