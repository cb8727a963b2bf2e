#include "platform/linux/xdg_group_containers.h"

#include <cstdlib>

namespace quorbitz {
namespace {

std::optional<std::string> absoluteEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || value[0] != '/') return std::nullopt;
  return std::string(value);
}

class XdgGroupContainers final : public GroupContainers {
 public:
  std::optional<std::string> containerPath(std::string_view groupIdentifier) override {
    return defaultGroupContainerPath(groupIdentifier);
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
  std::optional<std::string> dataHome = absoluteEnvironment("XDG_DATA_HOME");
  if (!dataHome) {
    std::optional<std::string> home = absoluteEnvironment("HOME");
    if (!home) return std::nullopt;
    dataHome = *home + "/.local/share";
  }
  return *dataHome + "/group-containers/" + std::string(groupIdentifier);
}

std::unique_ptr<GroupContainers> newXdgGroupContainers() {
  return std::make_unique<XdgGroupContainers>();
}

std::unique_ptr<GroupContainers> newFixedGroupContainers(
    std::optional<std::string> container) {
  return std::make_unique<FixedGroupContainers>(std::move(container));
}

}  // namespace quorbitz
