// SPDX-License-Identifier: Apache-2.0
#include "host_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/cairo_drawing.h"
#include "platform/linux/png_export.h"
#include "platform/linux/syslog_system_log.h"
#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"
#include "status/finder_sync.h"

namespace quorbitz::host {

void HostFinderController::setDirectoryURLs(const std::vector<std::string>& paths) {
  std::vector<std::string> sorted = paths;
  std::sort(sorted.begin(), sorted.end());
  watched_ = sorted;
  events_.directoryURLs(sorted);
}

void HostFinderController::setBadgeImage(const ImageRef& image, std::string_view label,
                                         std::string_view identifier) {
  events_.badgeImage(identifier, label, image ? image->size() : Size{});
  if (!badgeDir_ || !image) return;
  std::error_code ignored;
  std::filesystem::create_directories(*badgeDir_, ignored);
  std::string stem = *badgeDir_ + "/" + std::string(identifier);
  for (const auto& [scale, path] : {std::pair{1, stem + ".png"}, {2, stem + "@2x.png"}}) {
    if (!writePng(*image, scale, path)) {
      std::fprintf(stderr, "quorbitz-finder: cannot write the badge picture %s\n",
                   path.c_str());
    }
  }
}

void HostFinderController::setBadgeIdentifier(std::string_view identifier,
                                              std::string_view itemPath, bool) {
  events_.badgeIdentifier(identifier, itemPath);
}

// Reports each line and also hands it to the system's log, unless
// QUORBITZ_NO_SYSLOG is set: test suites read the events and keep the
// machine's log clean.
class HostPlatform::EventSystemLog final : public SystemLog {
 public:
  explicit EventSystemLog(HostEvents& events)
      : events_(events),
        system_(std::getenv("QUORBITZ_NO_SYSLOG") ? nullptr : newSyslogSystemLog()) {}
  void log(std::string_view line) override {
    events_.log(line);
    if (system_) system_->log(line);
  }

 private:
  HostEvents& events_;
  std::unique_ptr<SystemLog> system_;
};

class HostPlatform::EventPasteboard final : public Pasteboard {
 public:
  explicit EventPasteboard(HostEvents& events) : events_(events) {}
  void clearContents() override {}
  bool setString(std::string_view text) override {
    events_.pasteboard(text);
    return true;
  }

 private:
  HostEvents& events_;
};

namespace {

std::unique_ptr<GroupContainers> containersFor(const HostOptions& options) {
  if (options.noContainer) return newFixedGroupContainers(std::nullopt);
  if (options.container) return newFixedGroupContainers(options.container);
  return newXdgGroupContainers();
}

}  // namespace

HostPlatform::HostPlatform(const HostOptions& options, HostEvents& events)
    : finder_(events, options.badgeDir),
      containers_(containersFor(options)),
      files_(newPosixFileSystem()),
      systemLog_(std::make_unique<EventSystemLog>(events)),
      pasteboard_(std::make_unique<EventPasteboard>(events)),
      runLoop_(options.timer),
      drawing_(std::make_unique<CairoDrawing>()) {
  if (auto container = containers_->containerPath(kAppGroupIdentifier)) {
    statusFilePath_ = *container + "/finder/status.json";
  }
}

HostPlatform::~HostPlatform() = default;

Platform HostPlatform::platform() {
  return {finder_, *containers_, *files_, *systemLog_, *pasteboard_, runLoop_, *drawing_};
}

}  // namespace quorbitz::host
