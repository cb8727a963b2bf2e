// SPDX-License-Identifier: Apache-2.0
// The one temporary folder a benchmark run works in. The group container is
// found the way the extension finds it in production (XDG_DATA_HOME), so
// every controller of the run shares one shared directory and one
// status.json; a benchmark writes its own status.json before it starts a
// controller.
#pragma once

#include <string>

namespace quorbitz::bench {

class BenchEnvironment {
 public:
  // Created on first use; removed with everything in it when the run ends.
  static BenchEnvironment& get();

  BenchEnvironment(const BenchEnvironment&) = delete;
  BenchEnvironment& operator=(const BenchEnvironment&) = delete;

  // The temporary folder: $QUORBITZ_BENCH_DIR, else $TMPDIR, else /tmp.
  const std::string& root() const { return root_; }
  // <container>/finder, created.
  const std::string& finderDir() const { return finderDir_; }
  std::string statusPath() const { return finderDir_ + "/status.json"; }

  // Replaces status.json and gives it a modification date later than any
  // given before, however fast the benchmark runs.
  void writeStatus(const std::string& json) const;
  // Gives status.json a later modification date without changing it.
  void touchStatus() const;

 private:
  BenchEnvironment();
  ~BenchEnvironment();

  std::string root_;
  std::string finderDir_;
};

// Creates `path` and any missing parents.
void makeFolders(const std::string& path);
// Creates or replaces the file at `path` (its parent must exist).
void writeWholeFile(const std::string& path, const std::string& content);
// Creates the file at `path` with its folders, once per run.
void ensureFile(const std::string& path);

}  // namespace quorbitz::bench
