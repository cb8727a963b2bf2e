// SPDX-License-Identifier: Apache-2.0
#include "status_rewriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench_environment.h"

namespace quorbitz::bench {

StatusRewriter::StatusRewriter(std::string statusPath, const std::string& spareFolder,
                               const std::string& first, const std::string& second)
    : statusPath_(std::move(statusPath)),
      documents_{spareFolder + "/status-first.json",
                 spareFolder + "/status-second.json"} {
  makeFolders(spareFolder);
  writeWholeFile(documents_[0], first);
  writeWholeFile(documents_[1], second);
}

StatusRewriter::~StatusRewriter() {
  if (writer_.joinable()) writer_.join();
}

StatusRewriter::Clock::time_point StatusRewriter::rewrite() {
  const std::string temporary = statusPath_ + ".new";
  std::error_code error;
  std::filesystem::copy_file(documents_[next_], temporary,
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error || std::rename(temporary.c_str(), statusPath_.c_str()) != 0) {
    std::fprintf(stderr, "cannot replace %s\n", statusPath_.c_str());
    std::abort();
  }
  next_ = 1 - next_;
  return Clock::now();
}

void StatusRewriter::startOncePerSecond(std::chrono::seconds duration) {
  finished_ = false;
  writer_ = std::thread([this, duration] {
    const Clock::time_point start = Clock::now();
    for (auto next = start; next < start + duration; next += std::chrono::seconds(1)) {
      std::this_thread::sleep_until(next);
      rewrite();
    }
    std::this_thread::sleep_until(start + duration);
    finished_ = true;
  });
}

void StatusRewriter::join() { writer_.join(); }

}  // namespace quorbitz::bench
