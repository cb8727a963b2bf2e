// SPDX-License-Identifier: Apache-2.0
// The platform as the Nautilus extension assembles it, and the one controller
// it hosts for the life of the Nautilus process.
//
// Nautilus creates the providers itself and passes them no data, so they
// reach the extension through runningExtension().
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

#include "platform/linux/glib_run_loop.h"
#include "nautilus/nautilus_finder_controller.h"
#include "platform/platform.h"

namespace quorbitz {

class FinderSync;

// Names the group container in place of the XDG default, for tests and for
// people running a second copy of the main application.
inline constexpr const char* kGroupContainerVariable = "QUORBITZ_GROUP_CONTAINER";

class NautilusExtension {
 public:
  // Creates the controller: it draws the badges, loads the status file and
  // starts polling on Nautilus's main loop.
  NautilusExtension();
  ~NautilusExtension();
  NautilusExtension(const NautilusExtension&) = delete;
  NautilusExtension& operator=(const NautilusExtension&) = delete;

  NautilusFinderController& finder() { return finder_; }
  FinderSync& controller() { return *controller_; }

  // Answers Nautilus's question for an item inside a watched folder: the
  // emblem to show, if any.
  std::optional<std::string> requestBadge(const std::string& path);

 private:
  void observeParentOf(const std::string& path);

  GlibRunLoop runLoop_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<GroupContainers> containers_;
  std::unique_ptr<SystemLog> systemLog_;
  std::unique_ptr<Pasteboard> pasteboard_;
  std::unique_ptr<Drawing> drawing_;
  NautilusFinderController finder_;
  std::shared_ptr<FinderSync> controller_;
  std::unordered_set<std::string> observedFolders_;
};

// Starts the extension once per process; later calls do nothing.
void startExtension();
void stopExtension();
// nullptr before the start, after the stop, or when the start failed.
NautilusExtension* runningExtension();

}  // namespace quorbitz
