// SPDX-License-Identifier: Apache-2.0
// The one item a menu action applies to.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorbitz {

// The first selected item, else the targeted item, else the item the last
// menu was built for. Unlike the menu itself, an action always prefers the
// selection: the file manager tells an action nothing about where its menu
// was opened.
std::optional<std::string> actingURL(
    const std::optional<std::vector<std::string>>& selection,
    const std::optional<std::string>& targeted,
    const std::optional<std::string>& lastMenuTarget);

}  // namespace quorbitz
