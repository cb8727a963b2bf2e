// SPDX-License-Identifier: Apache-2.0
#include "actions/menu_actions.h"

namespace quorbitz {

std::optional<Command> commandFor(Selector selector, std::string_view path) {
  auto withPath = [path](std::string action) {
    return Command{{"action", std::move(action)}, {"path", std::string(path)}};
  };
  auto setRole = [path](std::string role) {
    return Command{{"action", "set_role"}, {"role", std::move(role)},
                   {"path", std::string(path)}};
  };
  switch (selector) {
    case Selector::keepLocal: return withPath("keep_local");
    case Selector::toggleLock: return withPath("toggle_lock");
    case Selector::importResolve: return withPath("resolve_import");
    case Selector::syncNow: return Command{{"action", "sync_now"}};
    case Selector::copyLink: return std::nullopt;
    case Selector::setMasters: return setRole("masters");
    case Selector::setReview: return setRole("review");
    case Selector::followLink: return withPath("follow_link");
    case Selector::folderLink: return withPath("folder_link");
    case Selector::uploadLink: return withPath("upload_link");
  }
  return std::nullopt;
}

std::string_view actionLogName(Selector selector) {
  std::string_view name = selectorName(selector);
  return name.substr(0, name.size() - 1);
}

bool logsItemPath(Selector selector) {
  return selector == Selector::keepLocal || selector == Selector::toggleLock ||
         selector == Selector::uploadLink;
}

bool logsMissingItem(Selector selector) {
  return selector == Selector::keepLocal || selector == Selector::toggleLock;
}

}  // namespace quorbitz
