// SPDX-License-Identifier: Apache-2.0
#include "nautilus/nautilus_extension.h"

#include <cstdlib>

#include "platform/linux/cairo_drawing.h"
#include "platform/linux/xdg_group_containers.h"
#include "nautilus/desktop_services.h"
#include "nautilus/nautilus_headers.h"
#include "platform/posix/posix_file_system.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

NautilusExtension* gExtension = nullptr;

std::unique_ptr<GroupContainers> groupContainers() {
  const char* override = std::getenv(kGroupContainerVariable);
  if (override && override[0] == '/') return newFixedGroupContainers(std::string(override));
  return newXdgGroupContainers();
}

std::optional<std::string> userDataDir() {
  const char* dir = g_get_user_data_dir();
  if (!dir || dir[0] != '/') return std::nullopt;
  return std::string(dir);
}

}  // namespace

NautilusExtension::NautilusExtension()
    : runLoop_(/*timersEnabled=*/true),
      files_(newPosixFileSystem()),
      containers_(groupContainers()),
      systemLog_(newGlibSystemLog()),
      pasteboard_(newGtkPasteboard()),
      drawing_(std::make_unique<CairoDrawing>()),
      finder_(runLoop_, EmblemIcons(*files_, userDataDir())) {
  controller_ = FinderSync::create(
      {finder_, *containers_, *files_, *systemLog_, *pasteboard_, runLoop_, *drawing_});
}

NautilusExtension::~NautilusExtension() = default;

std::optional<std::string> NautilusExtension::requestBadge(const std::string& path) {
  observeParentOf(path);
  finder_.beginBadgeRequest(path);
  controller_->requestBadgeIdentifierForURL(path);
  return finder_.endBadgeRequest(path);
}

// Nautilus never says which folders a window shows. It asks about every item
// of a folder it shows, so the first question about an item stands for the
// start of observing its folder; the end is never known.
void NautilusExtension::observeParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return;
  std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
  if (!finder_.isWatched(folder) || observedFolders_.contains(folder)) return;
  controller_->beginObservingDirectoryAtURL(folder);
  observedFolders_.insert(std::move(folder));
}

void startExtension() {
  if (gExtension) return;
  try {
    gExtension = new NautilusExtension();
  } catch (...) {
    g_log("quorbitz", G_LOG_LEVEL_WARNING, "%s", "quorbitzFS: the extension could not start");
  }
}

void stopExtension() {
  delete gExtension;
  gExtension = nullptr;
}

NautilusExtension* runningExtension() { return gExtension; }

}  // namespace quorbitz
