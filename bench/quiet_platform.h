// SPDX-License-Identifier: Apache-2.0
// A platform whose file-manager, log, pasteboard, run-loop and drawing parts
// do next to nothing, so that a benchmark measures the controller and the
// real file-system and container calls it makes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorbitz::bench {

class QuietFinder final : public FinderController {
 public:
  // Remembers the watched folders, as the file manager does, so that an
  // unchanged list is not published again.
  std::optional<std::vector<std::string>> directoryURLs() override { return watched; }
  void setDirectoryURLs(const std::vector<std::string>& paths) override { watched = paths; }
  void setBadgeImage(const ImageRef&, std::string_view, std::string_view) override {}
  void setBadgeIdentifier(std::string_view, std::string_view, bool) override {
    ++badgesAssigned;
    lastBadgeAt = std::chrono::steady_clock::now();
  }
  std::optional<std::vector<std::string>> selectedItemURLs() override { return selection; }
  std::optional<std::string> targetedURL() override { return targeted; }

  std::optional<std::vector<std::string>> watched;
  std::optional<std::vector<std::string>> selection;
  std::optional<std::string> targeted;
  uint64_t badgesAssigned = 0;
  // When the last badge was handed over: the end of a re-evaluation as the
  // file manager sees it. Reading the clock adds tens of nanoseconds to a
  // badge request of microseconds.
  std::chrono::steady_clock::time_point lastBadgeAt;
};

class QuietLog final : public SystemLog {
 public:
  void log(std::string_view) override { ++lines; }
  uint64_t lines = 0;
};

class QuietPasteboard final : public Pasteboard {
 public:
  void clearContents() override {}
  bool setString(std::string_view) override { return true; }
};

// Keeps the timer block; a tick fires it and then runs what it queued, and
// what that queued in turn. Background work runs on the main queue, on this
// thread, so that its CPU time counts.
class TickingRunLoop final : public RunLoop {
 public:
  void scheduleRepeatingTimer(std::chrono::milliseconds,
                              std::function<void()> block) override {
    timers_.push_back(std::move(block));
  }
  void dispatchToMain(std::function<void()> work) override {
    queue_.push_back(std::move(work));
  }
  void tick();

 private:
  std::vector<std::function<void()>> timers_;
  std::vector<std::function<void()>> queue_;
  std::vector<std::function<void()>> running_;
};

class BlankDrawing final : public Drawing {
 public:
  std::unique_ptr<Canvas> beginImage(Size size) override;
  ImageRef systemSymbol(std::string_view, std::optional<std::string_view>) override {
    return nullptr;
  }
  ImageRef configuredSymbol(const Image&, const SymbolConfiguration&) override {
    return nullptr;
  }
  ImageRef emptyImage() override;
};

// Everything but the run loop: the production container lookup and POSIX
// file system with the quiet parts above.
struct QuietParts {
  QuietParts();
  Platform platform(RunLoop& runLoop);

  QuietFinder finder;
  std::unique_ptr<GroupContainers> containers;
  std::unique_ptr<FileSystem> files;
  QuietLog systemLog;
  QuietPasteboard pasteboard;
  BlankDrawing drawing;
};

// The whole platform, ticked by hand.
struct QuietPlatform : QuietParts {
  Platform platform() { return QuietParts::platform(runLoop); }

  TickingRunLoop runLoop;
};

}  // namespace quorbitz::bench
