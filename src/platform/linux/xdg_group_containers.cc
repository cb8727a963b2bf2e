// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/xdg_group_containers.h"

#include <cstdlib>

namespace quorbitz {
namespace {

constexpr size_t kRoomBelowContainer = 80;

const char* absoluteEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] == '/' ? value : nullptr;
}

bool buildContainerPath(std::string& path, std::string_view groupIdentifier) {
  constexpr std::string_view kDataBelowHome = "/.local/share";
  constexpr std::string_view kContainersFolder = "/group-containers/";
  std::string_view dataHome;
  std::string_view belowHome;
  if (const char* xdgDataHome = absoluteEnvironment("XDG_DATA_HOME")) {
    dataHome = xdgDataHome;
  } else if (const char* home = absoluteEnvironment("HOME")) {
    dataHome = home;
    belowHome = kDataBelowHome;
  } else {
    return false;
  }
  path.clear();
  // Callers put a folder and a file name below the container; room for them
  // spares a reallocation.
  path.reserve(dataHome.size() + belowHome.size() + kContainersFolder.size() +
               groupIdentifier.size() + kRoomBelowContainer);
  path.append(dataHome).append(belowHome).append(kContainersFolder).append(groupIdentifier);
  return true;
}

class XdgGroupContainers final : public GroupContainers {
 public:
  std::optional<std::string> containerPath(std::string_view groupIdentifier) override {
    return defaultGroupContainerPath(groupIdentifier);
  }
  bool containerPathInto(std::string& path, std::string_view groupIdentifier) override {
    return buildContainerPath(path, groupIdentifier);
  }
};

class FixedGroupContainers final : public GroupContainers {
 public:
  explicit FixedGroupContainers(std::optional<std::string> container)
      : container_(std::move(container)) {}
  std::optional<std::string> containerPath(std::string_view) override {
    return container_;
  }

 private:
  std::optional<std::string> container_;
};

}  // namespace

std::optional<std::string> defaultGroupContainerPath(std::string_view groupIdentifier) {
  std::string path;
  if (!buildContainerPath(path, groupIdentifier)) return std::nullopt;
  return path;
}

std::unique_ptr<GroupContainers> newXdgGroupContainers() {
  return std::make_unique<XdgGroupContainers>();
}

std::unique_ptr<GroupContainers> newFixedGroupContainers(
    std::optional<std::string> container) {
  return std::make_unique<FixedGroupContainers>(std::move(container));
}

}  // namespace quorbitz
