// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/file_manager_finder_controller.h"

namespace quorbitz {
namespace {

// True when `path` is one of `folders` or lies below one of them.
bool isInsideAnyFolder(std::string_view path, const std::vector<std::string>& folders) {
  for (std::string_view folder : folders) {
    if (folder.empty() || !path.starts_with(folder)) continue;
    if (path.size() == folder.size() || folder.back() == '/' ||
        path[folder.size()] == '/') {
      return true;
    }
  }
  return false;
}

}  // namespace

FileManagerFinderController::FileManagerFinderController(RunLoop& runLoop,
                                                         EmblemIcons emblems,
                                                         InvalidateItem invalidate)
    : runLoop_(runLoop), emblems_(std::move(emblems)), invalidate_(invalidate) {}

void FileManagerFinderController::setDirectoryURLs(
    const std::vector<std::string>& paths) {
  watched_ = paths;
}

void FileManagerFinderController::setBadgeImage(const ImageRef& image, std::string_view,
                                                std::string_view identifier) {
  if (image) emblems_.install(*image, identifier);
}

void FileManagerFinderController::setBadgeIdentifier(std::string_view identifier,
                                                     std::string_view itemPath) {
  if (requestedPath_ == itemPath) {
    answer_ = std::string(identifier);
  } else {
    askAgainLater(std::string(itemPath));
  }
}

void FileManagerFinderController::badgeWithdrawn(std::string_view itemPath) {
  if (requestedPath_ != itemPath) askAgainLater(std::string(itemPath));
}

bool FileManagerFinderController::isWatched(std::string_view path) const {
  return watched_ && isInsideAnyFolder(path, *watched_);
}

void FileManagerFinderController::beginBadgeRequest(const std::string& path) {
  requestedPath_ = path;
  answer_.reset();
}

std::optional<std::string> FileManagerFinderController::endBadgeRequest() {
  requestedPath_.reset();
  if (!answer_) return std::nullopt;
  std::string identifier = std::move(*answer_);
  answer_.reset();
  return emblemIconName(identifier);
}

void FileManagerFinderController::askAgainLater(const std::string& path) {
  const bool firstPending = pendingReasks_.empty();
  pendingReasks_.insert(path);
  if (firstPending) runLoop_.dispatchToMain([this] { askAgainNow(); });
}

void FileManagerFinderController::askAgainNow() {
  std::unordered_set<std::string> paths = std::move(pendingReasks_);
  pendingReasks_.clear();
  if (!invalidate_) return;
  for (const std::string& path : paths) invalidate_(path);
}

}  // namespace quorbitz
