// SPDX-License-Identifier: Apache-2.0
// The platform as a GTK file manager's extension assembles it, and the one
// controller it hosts for the life of the file manager's process.
//
// The file manager creates the providers itself and passes them no data, so
// they reach the extension through runningExtension().
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

#include "file-manager-common/file_manager_finder_controller.h"
#include "badging/badge_set.h"
#include "platform/linux/glib_run_loop.h"
#include "platform/platform.h"

namespace quorbitz {

class FinderSync;

// Names the group container in place of the XDG default, for tests and for
// people running a second copy of the main application.
inline constexpr const char* kGroupContainerVariable = "QUORBITZ_GROUP_CONTAINER";

class FileManagerExtension {
 public:
  // Creates the controller: it draws the badges, starts loading the status
  // file beside the main loop and starts polling on the main loop, where a
  // rewrite of the status file also ticks at once. `invalidate` tells the
  // file manager to ask again about an item; `inSight` names the items its
  // windows show in sight, where the toolkit's namesInSight() cannot.
  explicit FileManagerExtension(InvalidateItem invalidate, NamesInSight inSight = nullptr);
  ~FileManagerExtension();
  FileManagerExtension(const FileManagerExtension&) = delete;
  FileManagerExtension& operator=(const FileManagerExtension&) = delete;

  FileManagerFinderController& finder() { return finder_; }
  FinderSync& controller() { return *controller_; }

  // Answers the file manager's question for an item inside a watched folder:
  // the emblem to show, if any.
  std::optional<std::string> requestBadge(const std::string& path);
  // The same question, answered with the badge itself.
  std::optional<BadgeId> requestBadgeId(const std::string& path);

 private:
  void observeParentOf(const std::string& path);

  GlibRunLoop runLoop_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<GroupContainers> containers_;
  std::unique_ptr<SystemLog> systemLog_;
  std::unique_ptr<Pasteboard> pasteboard_;
  std::unique_ptr<Drawing> drawing_;
  FileManagerFinderController finder_;
  std::shared_ptr<FinderSync> controller_;
  std::unordered_set<std::string> observedFolders_;
};

// Starts the extension once per process; later calls do nothing. Called on
// the file manager's main thread.
void startExtension(InvalidateItem invalidate, NamesInSight inSight = nullptr);
void stopExtension();
// nullptr before the start, after the stop, or when the start failed.
FileManagerExtension* runningExtension();

}  // namespace quorbitz
