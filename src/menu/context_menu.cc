// SPDX-License-Identifier: Apache-2.0
#include "menu/context_menu.h"

#include "badging/badge_choice.h"
#include "badging/root_location.h"

namespace quorbitz {

std::optional<std::string> menuTarget(
    MenuKind kind, const std::optional<std::vector<std::string>>& selection,
    const std::optional<std::string>& targeted) {
  if (kind != 0) return targeted;
  if (!selection || selection->empty()) return std::nullopt;
  return selection->front();
}

MenuModel emptyMenu() { return {std::string(kMenuTitle), {}}; }

bool countsAsLocked(const MenuFacts& facts) {
  if (facts.rel.empty()) return facts.root->rootLocked.value_or(false);
  return facts.locked && underPrefix(facts.rel, *facts.locked);
}

namespace {

void addRoleItem(MenuModel& menu, const MenuFacts& facts, std::string_view role,
                 Selector selector, std::string_view checkedTitle,
                 std::string_view plainTitle) {
  const auto* roles = facts.root->roles ? &*facts.root->roles : nullptr;
  bool holds = holdsRole(roles, role, facts.rel);
  menu.items.push_back({std::string(holds ? checkedTitle : plainTitle), selector, holds});
}

}  // namespace

MenuModel buildMenu(const MenuFacts& facts) {
  MenuModel menu = emptyMenu();
  const bool folder = facts.isFolder;
  const bool below = !facts.rel.empty();
  const bool mint = facts.root->canMintLinks.value_or(false);
  auto add = [&menu](std::string_view title, Selector action) {
    menu.items.push_back({std::string(title), action, false});
  };

  if (folder && below) {
    bool kept = facts.kept && facts.kept->contains(facts.rel);
    add(kept ? "Stop Keeping Local \u2014 Sync to Project" : "Keep Local on This Mac",
        Selector::keepLocal);
  }
  if (folder && facts.root->canLock) {
    add(countsAsLocked(facts) ? "Unlock Folder" : "Lock Folder", Selector::toggleLock);
  }
  if (folder && below && mint) add("Copy Folder Link", Selector::folderLink);
  if (folder && mint) {
    add("Copy Download-Only Link", Selector::followLink);
  } else {
    add("Copy Project Link", Selector::copyLink);
  }
  if (folder && mint) add("Copy Upload Link", Selector::uploadLink);
  if (folder && below) {
    addRoleItem(menu, facts, "masters", Selector::setMasters,
                "\u2713 Masters Delivery Folder \u2014 Click to Clear",
                "Set as Masters Delivery Folder");
    addRoleItem(menu, facts, "review", Selector::setReview,
                "\u2713 Video Review Folder \u2014 Click to Clear",
                "Set as Video Review Folder");
  }
  if (folder) add("Import Folder to Resolve", Selector::importResolve);
  add("Sync Now", Selector::syncNow);
  return menu;
}

}  // namespace quorbitz
