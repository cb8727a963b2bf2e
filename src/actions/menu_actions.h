// SPDX-License-Identifier: Apache-2.0
// What each menu action sends to the main application.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "actions/command_file.h"
#include "menu/selectors.h"

namespace quorbitz {

// The command for an action on the item at `path` (ignored by syncNow:);
// nullopt for copyLink:, which copies a link instead of sending a command.
std::optional<Command> commandFor(Selector selector, std::string_view path);

// The operation name in the action's log lines, e.g. "keepLocal".
std::string_view actionLogName(Selector selector);

// Whether the action logs "quorbitzFS: NAME %@" with the item's path, and
// whether it logs "quorbitzFS: NAME — no acting url" without an item.
bool logsItemPath(Selector selector);
bool logsMissingItem(Selector selector);

}  // namespace quorbitz
