// SPDX-License-Identifier: Apache-2.0
#include "nautilus/nautilus_finder_controller.h"

#include "nautilus/nautilus_headers.h"

namespace quorbitz {
namespace {

// True when `path` is one of `folders` or lies below one of them.
bool isInsideAnyFolder(std::string_view path, const std::vector<std::string>& folders) {
  for (std::string_view folder : folders) {
    if (folder.empty() || !path.starts_with(folder)) continue;
    if (path.size() == folder.size() || folder.back() == '/' || path[folder.size()] == '/') {
      return true;
    }
  }
  return false;
}

}  // namespace

NautilusFinderController::NautilusFinderController(RunLoop& runLoop, EmblemIcons emblems)
    : runLoop_(runLoop), emblems_(std::move(emblems)) {}

void NautilusFinderController::setDirectoryURLs(const std::vector<std::string>& paths) {
  watched_ = paths;
}

void NautilusFinderController::setBadgeImage(const ImageRef& image, std::string_view,
                                             std::string_view identifier) {
  if (image) emblems_.install(*image, identifier);
}

void NautilusFinderController::setBadgeIdentifier(std::string_view identifier,
                                                  std::string_view itemPath) {
  std::string path(itemPath);
  lastBadges_[path] = std::string(identifier);
  if (requestedPath_ != path) askAgainLater(path);
}

bool NautilusFinderController::isWatched(std::string_view path) const {
  return watched_ && isInsideAnyFolder(path, *watched_);
}

std::optional<std::string> NautilusFinderController::endBadgeRequest(const std::string& path) {
  requestedPath_.reset();
  auto badge = lastBadges_.find(path);
  if (badge == lastBadges_.end()) return std::nullopt;
  return emblemIconName(badge->second);
}

// Invalidating makes Nautilus ask again at once, from inside the call; the
// controller must not be re-entered, so the re-asks wait for the main queue.
void NautilusFinderController::askAgainLater(const std::string& path) {
  const bool firstPending = pendingReasks_.empty();
  pendingReasks_.insert(path);
  if (firstPending) runLoop_.dispatchToMain([this] { askAgainNow(); });
}

void NautilusFinderController::askAgainNow() {
  std::unordered_set<std::string> paths = std::move(pendingReasks_);
  pendingReasks_.clear();
  for (const std::string& path : paths) {
    GFile* location = g_file_new_for_path(path.c_str());
    if (!location) continue;
    // Only a file Nautilus holds can show an emblem; the others get theirs
    // when Nautilus first asks.
    if (NautilusFileInfo* file = nautilus_file_info_lookup(location)) {
      nautilus_file_info_invalidate_extension_info(file);
      g_object_unref(file);
    }
    g_object_unref(location);
  }
}

}  // namespace quorbitz
