// SPDX-License-Identifier: Apache-2.0
// Recording stand-ins for the platform, over a real temporary directory.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/fault_file_system.h"

namespace quorbitz::testing {

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes `content` to `relative` below the directory, creating parents.
  void write(const std::string& relative, const std::string& content) const;
  void makeFolder(const std::string& relative) const;

 private:
  std::string path_;
};

std::string readWholeFile(const std::string& path);
// The paths of the entries of `folder`, in no particular order; none when it
// cannot be read.
std::vector<std::string> filesIn(const std::string& folder);

// One root of status.json, its link named after the folder, and a document of
// such roots.
std::string rootJson(const std::string& path, const std::string& locked = "[]",
                     const std::string& synced = "[]");
std::string statusJson(const std::vector<std::string>& roots, int version = 1);

// Records every call the controller makes, as lines like
// "setBadgeIdentifier synced /r/a"; a badged folder's path ends in "/", as
// the URL a binding makes of it does.
class FakeFinderController final : public FinderController {
 public:
  std::optional<std::vector<std::string>> directoryURLs() override { return watched; }
  void setDirectoryURLs(const std::vector<std::string>& paths) override {
    watched = paths;
    calls.push_back("setDirectoryURLs");
    for (const auto& path : paths) calls.back() += " " + path;
  }
  void setBadgeImage(const ImageRef& image, std::string_view label,
                     std::string_view identifier) override {
    calls.push_back("setBadgeImage " + std::string(identifier) + " " + std::string(label) +
                    (image ? "" : " (no image)"));
  }
  void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath,
                          bool isFolder) override {
    calls.push_back("setBadgeIdentifier " + std::string(identifier) + " " +
                    std::string(itemPath) + (isFolder ? "/" : ""));
  }
  std::optional<std::vector<std::string>> selectedItemURLs() override { return selection; }
  std::optional<std::string> targetedURL() override { return targeted; }
  void firstLoadEnded() override { ++firstLoadsEnded; }
  std::vector<std::string> itemPathsInSight() override { return inSight; }

  std::vector<std::string> calls;
  std::vector<std::string> inSight;
  int firstLoadsEnded = 0;
  std::optional<std::vector<std::string>> watched;
  std::optional<std::vector<std::string>> selection;
  std::optional<std::string> targeted;
};

class RecordingSystemLog final : public SystemLog {
 public:
  void log(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

class FakePasteboard final : public Pasteboard {
 public:
  void clearContents() override { calls.push_back("clear"); }
  bool setString(std::string_view text) override {
    calls.push_back("set " + std::string(text));
    return true;
  }
  std::vector<std::string> calls;
};

// Timers and the main queue run only when a test says so.
class ManualRunLoop final : public RunLoop {
 public:
  void scheduleRepeatingTimer(std::chrono::milliseconds interval,
                              std::function<void()> block) override {
    intervals.push_back(interval);
    timers.push_back(std::move(block));
  }
  void dispatchToMain(std::function<void()> work) override {
    queue.push_back(std::move(work));
  }
  void fireTimers() { for (auto& timer : timers) timer(); }
  // Runs the first piece of work queued, if any.
  bool runOne() {
    if (queue.empty()) return false;
    auto work = std::move(queue.front());
    queue.pop_front();
    work();
    return true;
  }
  void drain() { while (runOne()) {} }

  std::vector<std::chrono::milliseconds> intervals;
  std::vector<std::function<void()>> timers;
  std::deque<std::function<void()>> queue;
};

// An image that remembers how it was made.
struct RecordedImage final : Image {
  explicit RecordedImage(Size size = {}, std::string symbol = "")
      : imageSize(size), name(std::move(symbol)) {}
  Size imageSize;
  std::string name;
  std::string configuration;  // "" for an unconfigured symbol
  std::vector<std::string> operations;
  Size size() const override { return imageSize; }
  std::string symbolName() const override { return name; }
};

// Symbols are known by name with a size; drawing is recorded as text.
class RecordingDrawing final : public Drawing {
 public:
  std::unique_ptr<Canvas> beginImage(Size size) override;
  ImageRef systemSymbol(
      std::string_view name,
      std::optional<std::string_view> accessibilityDescription) override;
  ImageRef configuredSymbol(const Image& symbol,
                            const SymbolConfiguration& configuration) override;
  ImageRef emptyImage() override;

  std::vector<std::pair<std::string, Size>> symbols;  // known names
  std::optional<Size> configuredSize;  // nullopt: configuration unsupported
  std::vector<std::string> lookups;
};

// The whole platform; files are real, in the temporary directory.
struct FakePlatform {
  FakePlatform();
  Platform platform();
  // The shared directory: <temp>/container/finder.
  std::string finderDir() const;
  void writeStatus(const std::string& json) const;
  // Runs one polling tick through the main queue.
  void tick() { runLoop.fireTimers(); runLoop.drain(); }
  std::vector<std::string> traceMessages() const;  // without time stamps

  TempDir temp;
  FakeFinderController finder;
  std::unique_ptr<GroupContainers> containers;
  RecordsReads files;  // real files, their reads counted
  RecordingSystemLog systemLog;
  FakePasteboard pasteboard;
  ManualRunLoop runLoop;
  RecordingDrawing drawing;
};

}  // namespace quorbitz::testing
