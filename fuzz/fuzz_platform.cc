// SPDX-License-Identifier: Apache-2.0
#include "fuzz_platform.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "badging/badge_set.h"

namespace quorbitz::fuzzing {
namespace {

[[noreturn]] void fail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "fuzz check failed: %.*s: %.*s\n", static_cast<int>(what.size()),
               what.data(), static_cast<int>(detail.size()), detail.data());
  std::abort();
}

class FuzzImage final : public Image {
 public:
  explicit FuzzImage(Size size) : size_(size) {}
  Size size() const override { return size_; }

 private:
  Size size_;
};

class FuzzCanvas final : public Canvas {
 public:
  explicit FuzzCanvas(Size size) : size_(size) {}
  void fillOval(const Rect&, SystemColor) override {}
  void drawImage(const Image&, const Rect&, CompositingOperation, double) override {}
  ImageRef finish() override { return std::make_shared<FuzzImage>(size_); }

 private:
  Size size_;
};

}  // namespace

void FuzzFinder::setBadgeImage(const ImageRef& image, std::string_view,
                               std::string_view identifier) {
  if (!image) fail("setBadgeImage without an image", identifier);
  registered.emplace_back(identifier);
}

void FuzzFinder::setBadgeIdentifier(std::string_view identifier, std::string_view, bool) {
  if (!badgeIdFromText(identifier)) fail("unknown badge identifier", identifier);
  bool known = false;
  for (const std::string& id : registered) known = known || id == identifier;
  if (!known) fail("badge assigned before it was registered", identifier);
}

void FuzzSystemLog::log(std::string_view line) {
  if (!line.starts_with("quorbitzFS: ")) fail("log line without the prefix", line);
}

void FuzzRunLoop::scheduleRepeatingTimer(std::chrono::milliseconds,
                                         std::function<void()> block) {
  timers_.push_back(std::move(block));
}

void FuzzRunLoop::dispatchToMain(std::function<void()> work) {
  queue_.push_back(std::move(work));
}

void FuzzRunLoop::tick() {
  for (auto& timer : timers_) timer();
  while (!queue_.empty()) {
    std::function<void()> work = std::move(queue_.front());
    queue_.pop_front();
    work();
  }
}

std::unique_ptr<Canvas> FuzzDrawing::beginImage(Size size) {
  return std::make_unique<FuzzCanvas>(size);
}

ImageRef FuzzDrawing::systemSymbol(std::string_view, std::optional<std::string_view>) {
  return std::make_shared<FuzzImage>(Size{16, 16});
}

ImageRef FuzzDrawing::configuredSymbol(const Image&, const SymbolConfiguration&) {
  return nullptr;
}

ImageRef FuzzDrawing::emptyImage() { return std::make_shared<FuzzImage>(Size{}); }

FuzzWorld& FuzzWorld::instance() {
  static FuzzWorld world;
  return world;
}

FuzzWorld::FuzzWorld() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "quorbitz-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) fail("mkdtemp", pattern);
  base_ = pattern;
  namespace fs = std::filesystem;
  for (const char* folder : {"Film/Footage", "Film/Masters", "Film/Cache/Renders",
                             "Film/Caf\xC3\xA9", "container/finder"}) {
    fs::create_directories(fs::path(base_) / folder);
  }
  for (const char* file : {"Film/clip.mov", "Film/Footage/A001.mov", "Film/.DS_Store",
                           "Film/Cache/Renders/r.tmp"}) {
    std::ofstream(fs::path(base_) / file) << "x";
  }
  std::error_code ignored;
  fs::create_directory_symlink("Footage", fs::path(base_) / "Film/footage-link", ignored);
  fs::create_symlink("loop", fs::path(base_) / "Film/loop", ignored);
}

FuzzWorld::~FuzzWorld() {
  std::error_code ignored;
  std::filesystem::remove_all(base_, ignored);
}

void FuzzWorld::writeStatus(const std::string& bytes) {
  std::string path = finderDir() + "/status.json";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  touchStatus();
}

void FuzzWorld::touchStatus() {
  std::string path = finderDir() + "/status.json";
  struct timespec times[2] = {{nextSecond_, 0}, {nextSecond_, 0}};
  ++nextSecond_;
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void FuzzWorld::clearSharedDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(finderDir() + "/commands", ignored);
  std::filesystem::remove(finderDir() + "/appex-trace.log", ignored);
}

}  // namespace quorbitz::fuzzing
