// SPDX-License-Identifier: Apache-2.0
// Group containers on Linux.
//
// There is no system registry of application groups on Linux, so the
// container of a group is a folder under the user's data directory that the
// extension and the main application agree on:
//   ${XDG_DATA_HOME:-$HOME/.local/share}/group-containers/<group identifier>
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz {

// The default container path of `groupIdentifier`, or nullopt when neither
// XDG_DATA_HOME nor HOME names an absolute folder.
std::optional<std::string> defaultGroupContainerPath(std::string_view groupIdentifier);

std::unique_ptr<GroupContainers> newXdgGroupContainers();

// Always answers `container` (nullopt: the system gives no container).
std::unique_ptr<GroupContainers> newFixedGroupContainers(
    std::optional<std::string> container);

}  // namespace quorbitz
