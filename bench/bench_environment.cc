// SPDX-License-Identifier: Apache-2.0
#include "bench_environment.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/linux/xdg_group_containers.h"
#include "status/finder_sync.h"

namespace quorbitz::bench {
namespace {

std::string baseFolder() {
  for (const char* name : {"QUORBITZ_BENCH_DIR", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value && value[0] == '/') return value;
  }
  return "/tmp";
}

void setModificationSecond(const std::string& path) {
  // Explicit whole seconds: the kernel's file clock is too coarse to order
  // rewrites that come microseconds apart.
  static int64_t nextSecond = 1'800'000'000;
  struct timespec times[2] = {{nextSecond, 0}, {nextSecond, 0}};
  ++nextSecond;
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) std::perror(path.c_str());
}

}  // namespace

BenchEnvironment& BenchEnvironment::get() {
  static BenchEnvironment environment;
  return environment;
}

BenchEnvironment::BenchEnvironment() {
  std::string pattern = baseFolder() + "/quorbitz-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror(pattern.c_str());
    std::abort();
  }
  root_ = pattern;
  setenv("XDG_DATA_HOME", root_.c_str(), 1);
  std::optional<std::string> container = defaultGroupContainerPath(kAppGroupIdentifier);
  if (!container) std::abort();
  finderDir_ = *container + "/finder";
  makeFolders(finderDir_);
}

BenchEnvironment::~BenchEnvironment() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void BenchEnvironment::writeStatus(const std::string& json) const {
  writeWholeFile(statusPath(), json);
  touchStatus();
}

void BenchEnvironment::touchStatus() const { setModificationSecond(statusPath()); }

void makeFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.message().c_str());
    std::abort();
  }
}

void writeWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) {
    std::perror(path.c_str());
    std::abort();
  }
}

void ensureFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) return;
  makeFolders(std::filesystem::path(path).parent_path().string());
  writeWholeFile(path, "");
}

}  // namespace quorbitz::bench
