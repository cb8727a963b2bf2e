// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/file_manager_finder_controller.h"

namespace quorbitz {
namespace {

// A few windows' worth.
constexpr size_t kRecentFolders = 4;

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

FileManagerFinderController::FileManagerFinderController(EmblemIcons emblems,
                                                         InvalidateItem invalidate,
                                                         NamesInSight inSight)
    : emblems_(std::move(emblems)),
      askAgain_(
          [this, invalidate](const std::string& path,
                             const std::optional<std::string>& pushed) {
            if (!invalidate) return;
            told_ = Told{path, pushed};
            invalidate(path);
            told_.reset();
          },
          inSight),
      inSight_(inSight) {}

void FileManagerFinderController::setDirectoryURLs(
    const std::vector<std::string>& paths) {
  watched_ = paths;
}

void FileManagerFinderController::setBadgeImage(const ImageRef& image, std::string_view,
                                                std::string_view identifier) {
  if (image) emblems_.install(*image, identifier);
}

void FileManagerFinderController::setBadgeIdentifier(std::string_view identifier,
                                                     std::string_view itemPath, bool) {
  if (requestedPath_ == itemPath) {
    answer_ = std::string(identifier);
  } else {
    askAgain_.add(itemPath, std::string(identifier));
  }
}

void FileManagerFinderController::badgeWithdrawn(std::string_view itemPath, bool) {
  if (requestedPath_ != itemPath) askAgain_.add(itemPath, std::string());
}

void FileManagerFinderController::firstLoadEnded() {
  firstLoadOver_ = true;
  std::unordered_set<std::string> asked = std::move(askedBeforeFirstLoad_);
  askedBeforeFirstLoad_.clear();
  for (const std::string& path : asked) {
    if (isWatched(path)) askAgain_.add(path);
  }
}

bool FileManagerFinderController::isWatched(std::string_view path) {
  if (!firstLoadOver_) {
    askedBeforeFirstLoad_.emplace(path);
    return false;
  }
  return watched_ && isInsideAnyFolder(path, *watched_);
}

std::vector<std::string> FileManagerFinderController::itemPathsInSight() {
  std::vector<std::string> paths;
  if (!inSight_ || recentFolders_.empty()) return paths;
  for (const std::string& name : inSight_()) {
    for (const std::string& folder : recentFolders_) paths.push_back(folder + "/" + name);
  }
  return paths;
}

void FileManagerFinderController::beginBadgeRequest(const std::string& path) {
  if (const size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0) {
    const std::string_view folder = std::string_view(path).substr(0, slash);
    if (recentFolders_.empty() || recentFolders_.front() != folder) {
      std::erase(recentFolders_, folder);
      recentFolders_.insert(recentFolders_.begin(), std::string(folder));
      if (recentFolders_.size() > kRecentFolders) recentFolders_.pop_back();
    }
  }
  askAgain_.drop(path);
  requestedPath_ = path;
  answer_.reset();
}

std::optional<std::string> FileManagerFinderController::endBadgeRequest() {
  requestedPath_.reset();
  if (!answer_) return std::nullopt;
  std::optional<std::string> identifier = std::move(answer_);
  answer_.reset();
  return identifier;
}

bool FileManagerFinderController::answerPushed(std::string_view path,
                                               std::optional<std::string>& identifier) const {
  if (!told_ || !told_->pushed || told_->path != path) return false;
  if (told_->pushed->empty()) {
    identifier.reset();
  } else {
    identifier.emplace(*told_->pushed);
  }
  return true;
}

}  // namespace quorbitz
