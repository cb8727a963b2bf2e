// SPDX-License-Identifier: Apache-2.0
// The context menu and the toolbar item.
#include "badging/root_location.h"
#include "menu/acting_target.h"
#include "menu/toolbar_item.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

const CanonicalSet* setOf(const CanonicalMap<CanonicalSet>& sets, std::string_view root) {
  auto entry = sets.find(root);
  return entry == sets.end() ? nullptr : &entry->second;
}

}  // namespace

MenuModel FinderSync::menuForMenuKind(MenuKind kind) try {
  std::optional<std::string> target =
      kind == 0 ? menuTarget(kind, platform.finder.selectedItemURLs(), std::nullopt)
                : menuTarget(kind, std::nullopt, platform.finder.targetedURL());
  std::optional<Location> location;
  if (target) location = locate(*target);
  if (!location) {
    log("quorbitzFS: menu no acting url (kind " + std::to_string(kind) + ")");
    return emptyMenu();
  }
  lastMenuTarget = target;
  log("quorbitzFS: menu for " + *target + " (rel '" + std::string(location->rel) + "')");
  const RootStatus& root = *location->root;
  return buildMenu({location->rel, platform.files.isDirectory(*target), &root,
                    setOf(keptSets, root.path), setOf(lockedSets, root.path)});
} catch (...) {
  // Out of memory: no menu rather than an exception in the file manager.
  return MenuModel{};
}

std::string FinderSync::toolbarItemName() const { return std::string(kToolbarItemName); }

std::string FinderSync::toolbarItemToolTip() const {
  return std::string(kToolbarItemToolTip);
}

ImageRef FinderSync::toolbarItemImage() {
  ImageRef symbol = platform.drawing.systemSymbol(kToolbarItemSymbol,
                                                  kToolbarItemAccessibilityDescription);
  return symbol ? symbol : platform.drawing.emptyImage();
}

std::optional<std::string> FinderSync::actingURL() {
  return quorbitz::actingURL(platform.finder.selectedItemURLs(),
                             platform.finder.targetedURL(), lastMenuTarget);
}

}  // namespace quorbitz
