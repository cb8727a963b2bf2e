// SPDX-License-Identifier: Apache-2.0
// A platform for the fuzz targets: real files in a temporary folder, the
// file manager, log, pasteboard, run loop and drawing as cheap stand-ins.
// Each stand-in checks what the controller hands it and aborts on nonsense,
// so that the fuzzer reports it like a crash.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorbitz::fuzzing {

class FuzzFinder final : public FinderController {
 public:
  std::optional<std::vector<std::string>> directoryURLs() override { return watched; }
  void setDirectoryURLs(const std::vector<std::string>& paths) override {
    watched = paths;
  }
  void setBadgeImage(const ImageRef& image, std::string_view label,
                     std::string_view identifier) override;
  void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath,
                          bool isFolder) override;
  std::optional<std::vector<std::string>> selectedItemURLs() override {
    return selection;
  }
  std::optional<std::string> targetedURL() override { return targeted; }

  std::optional<std::vector<std::string>> watched;
  std::optional<std::vector<std::string>> selection;
  std::optional<std::string> targeted;
  std::vector<std::string> registered;
};

class FuzzSystemLog final : public SystemLog {
 public:
  void log(std::string_view line) override;
};

class FuzzPasteboard final : public Pasteboard {
 public:
  void clearContents() override {}
  bool setString(std::string_view) override { return true; }
};

// The timer fires and the main queue runs only when the target says so.
class FuzzRunLoop final : public RunLoop {
 public:
  void scheduleRepeatingTimer(std::chrono::milliseconds,
                              std::function<void()> block) override;
  void dispatchToMain(std::function<void()> work) override;
  void tick();

 private:
  std::vector<std::function<void()>> timers_;
  std::deque<std::function<void()>> queue_;
};

class FuzzDrawing final : public Drawing {
 public:
  std::unique_ptr<Canvas> beginImage(Size size) override;
  ImageRef systemSymbol(std::string_view, std::optional<std::string_view>) override;
  ImageRef configuredSymbol(const Image&, const SymbolConfiguration&) override;
  ImageRef emptyImage() override;
};

// One temporary folder for the life of the process, with a small synced tree
// below `root()` and the group container at `container()`.
class FuzzWorld {
 public:
  static FuzzWorld& instance();
  // Removes the folder: the fuzzer exits through exit(), which runs this.
  ~FuzzWorld();

  const std::string& base() const { return base_; }
  std::string root() const { return base_ + "/Film"; }
  std::string container() const { return base_ + "/container"; }
  std::string finderDir() const { return container() + "/finder"; }
  // Writes status.json with a modification date later than any before.
  void writeStatus(const std::string& bytes);
  // Gives status.json a later modification date without changing it.
  void touchStatus();
  // Removes what a run left in the shared directory.
  void clearSharedDirectory();

 private:
  FuzzWorld();
  std::string base_;
  int64_t nextSecond_ = 1'700'000'000;
};

}  // namespace quorbitz::fuzzing
