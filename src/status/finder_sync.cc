// SPDX-License-Identifier: Apache-2.0
#include "status/finder_sync.h"

#include <utility>

#include "badging/root_location.h"
#include "diagnostics/trace_log.h"

namespace quorbitz {

const std::string_view kAppGroupIdentifier = QUORBITZ_APP_GROUP;

namespace {

constexpr std::string_view kFinderFolderName = "finder";
constexpr size_t kRoomForFileName = 64;

}  // namespace

std::shared_ptr<FinderSync> FinderSync::create(Platform platform, FirstLoad firstLoad) {
  std::shared_ptr<FinderSync> controller(new FinderSync(platform));
  controller->registerBadges();
  controller->loadInBackground = firstLoad == FirstLoad::inBackground;
  controller->reload(Look::tick);
  controller->loadInBackground = true;
  controller->startPolling();
  return controller;
}

FinderSync::FinderSync(Platform platform) : platform(platform) {}

void FinderSync::startPolling() {
  RunLoop* runLoop = &platform.runLoop;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  runLoop->scheduleRepeatingTimer(kPollingInterval, [runLoop, weakSelf] {
    // Even a tick that fires on the main thread goes through the main queue,
    // so a reload never runs inside another call. Out of memory, this tick
    // is lost and the next one tries again.
    try {
      runLoop->dispatchToMain([weakSelf] {
        if (std::shared_ptr<FinderSync> self = weakSelf.lock()) self->reload(Look::tick);
      });
    } catch (...) {
    }
  });
}

bool FinderSync::finderDirInto(std::string& dir) const {
  if (!platform.containers.containerPathInto(dir, kAppGroupIdentifier)) return false;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (dir != "/") dir += '/';
  // Room for the name of a file in it, which every caller appends.
  dir.reserve(dir.size() + kFinderFolderName.size() + kRoomForFileName);
  dir.append(kFinderFolderName);
  return true;
}

std::optional<std::string> FinderSync::finderDir() const {
  std::string dir;
  if (!finderDirInto(dir)) return std::nullopt;
  return dir;
}

std::optional<Location> FinderSync::locate(std::string_view itemPath) const {
  // The same root and rel a badge request finds, from the canonical root
  // paths worked out once per load.
  const std::string canonical = canonicalText(itemPath);
  std::optional<CanonicalLocation> found =
      locateCanonical(itemPath, canonical, canonicalRootPaths);
  if (!found) return std::nullopt;
  return Location{&roots[found->rootIndex], itemPath.substr(found->relStart)};
}

void FinderSync::trace(std::string_view message) { trace({message}); }

void FinderSync::trace(std::initializer_list<std::string_view> message) {
  // The file manager asks for every item it shows, and each request writes a
  // line: the log's path is built in the same buffer every time.
  thread_local std::string logPath;
  if (finderDirInto(logPath)) appendTrace(platform.files, logPath, message);
}

void FinderSync::log(std::string_view line) { platform.systemLog.log(line); }

}  // namespace quorbitz
