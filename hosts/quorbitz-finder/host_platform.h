// SPDX-License-Identifier: Apache-2.0
// The Linux platform as the host assembles it: the stand-in file manager,
// system log and pasteboard report through HostEvents; the run loop, files,
// drawing and group containers are the Linux binding's.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host_events.h"
#include "platform/linux/glib_run_loop.h"
#include "platform/platform.h"

namespace quorbitz::host {

struct HostOptions {
  std::optional<std::string> container;  // nullopt: the default container
  bool noContainer = false;
  bool timer = true;
  std::optional<std::string> badgeDir;
};

// The file manager's side of the controller: what it watches, shows and
// reports as selected.
class HostFinderController final : public FinderController {
 public:
  HostFinderController(HostEvents& events, std::optional<std::string> badgeDir)
      : events_(events), badgeDir_(std::move(badgeDir)) {}

  std::optional<std::vector<std::string>> directoryURLs() override { return watched_; }
  void setDirectoryURLs(const std::vector<std::string>& paths) override;
  void setBadgeImage(const ImageRef& image, std::string_view label,
                     std::string_view identifier) override;
  void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath,
                          bool isFolder) override;
  std::optional<std::vector<std::string>> selectedItemURLs() override {
    return selection;
  }
  std::optional<std::string> targetedURL() override { return targeted; }

  std::vector<std::string> selection;
  std::optional<std::string> targeted;

 private:
  HostEvents& events_;
  std::optional<std::string> badgeDir_;
  std::optional<std::vector<std::string>> watched_;
};

class HostPlatform {
 public:
  HostPlatform(const HostOptions& options, HostEvents& events);
  ~HostPlatform();
  HostPlatform(const HostPlatform&) = delete;
  HostPlatform& operator=(const HostPlatform&) = delete;

  Platform platform();
  GlibRunLoop& runLoop() { return runLoop_; }
  HostFinderController& finder() { return finder_; }
  // The shared directory's status file, when there is a container.
  std::optional<std::string> statusFilePath() const { return statusFilePath_; }

 private:
  class EventSystemLog;
  class EventPasteboard;

  HostFinderController finder_;
  std::unique_ptr<GroupContainers> containers_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<SystemLog> systemLog_;
  std::unique_ptr<Pasteboard> pasteboard_;
  GlibRunLoop runLoop_;
  std::unique_ptr<Drawing> drawing_;
  std::optional<std::string> statusFilePath_;
};

}  // namespace quorbitz::host
