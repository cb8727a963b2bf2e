// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/file_manager_extension.h"

#include <glib.h>

#include <cstdlib>

#include "file-manager-common/desktop.h"
#include "file-manager-common/emblem_pictures.h"
#include "file-manager-common/menu_words.h"
#include "platform/linux/cairo_drawing.h"
#include "platform/linux/glib_system_log.h"
#include "platform/linux/repeat_collapsing_log.h"
#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

FileManagerExtension* gExtension = nullptr;

std::unique_ptr<GroupContainers> groupContainers() {
  const char* override = std::getenv(kGroupContainerVariable);
  if (override && override[0] == '/')
    return newFixedGroupContainers(std::string(override));
  return newXdgGroupContainers();
}

}  // namespace

FileManagerExtension::FileManagerExtension(InvalidateItem invalidate, NamesInSight inSight)
    : runLoop_(/*timersEnabled=*/true),
      files_(newPosixFileSystem()),
      containers_(groupContainers()),
      systemLog_(newRepeatCollapsingLog(newGlibSystemLog())),
      pasteboard_(newClipboardPasteboard()),
      drawing_(std::make_unique<CairoDrawing>()),
      finder_(EmblemIcons(*files_), invalidate, inSight ? inSight : &namesInSight) {
  // A large project's status takes seconds to load, and the file manager
  // starts its extensions on its main thread before it shows a window.
  controller_ = FinderSync::create(
      {finder_, *containers_, *files_, *systemLog_, *pasteboard_, runLoop_, *drawing_},
      FirstLoad::inBackground);
  if (std::optional<std::string> container = containers_->containerPath(kAppGroupIdentifier)) {
    runLoop_.watchFileForEarlyTicks(*container + "/finder/status.json");
  }
}

// The worker may be reading status.json through files_, which goes before
// the run loop.
FileManagerExtension::~FileManagerExtension() { runLoop_.stopBackgroundWork(); }

std::optional<std::string> FileManagerExtension::requestBadge(const std::string& path) {
  std::optional<BadgeId> badge = requestBadgeId(path);
  if (!badge) return std::nullopt;
  return emblemIconName(badgeIdentifierText(*badge));
}

std::optional<BadgeId> FileManagerExtension::requestBadgeId(const std::string& path) {
  if (std::optional<std::string> pushed; finder_.answerPushed(path, pushed)) {
    return pushed ? badgeIdFromText(*pushed) : std::nullopt;
  }
  observeParentOf(path);
  finder_.beginBadgeRequest(path);
  controller_->requestBadgeIdentifierForURL(path);
  std::optional<std::string> identifier = finder_.endBadgeRequest();
  return identifier ? badgeIdFromText(*identifier) : std::nullopt;
}

// No GTK file manager says which folders a window shows. Each asks about
// every item of a folder it shows, so the first question about an item stands
// for the start of observing its folder; the end is never known.
void FileManagerExtension::observeParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return;
  std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
  if (!finder_.isWatched(folder) || observedFolders_.contains(folder)) return;
  controller_->beginObservingDirectoryAtURL(folder);
  observedFolders_.insert(std::move(folder));
}

void startExtension(InvalidateItem invalidate, NamesInSight inSight) {
  if (gExtension) return;
  try {
    bindTranslations();
    gExtension = new FileManagerExtension(invalidate, inSight);
  } catch (...) {
    g_log(kGlibLogDomain, G_LOG_LEVEL_WARNING, "%s",
          "quorbitzFS: the extension could not start");
  }
}

void stopExtension() {
  delete gExtension;
  gExtension = nullptr;
}

FileManagerExtension* runningExtension() { return gExtension; }

}  // namespace quorbitz
