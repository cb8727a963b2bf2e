// SPDX-License-Identifier: Apache-2.0
#include "menu/context_menu.h"

#include <gtest/gtest.h>

#include "menu/acting_target.h"

namespace quorbitz {
namespace {

using Titles = std::vector<std::string>;

Titles titles(const MenuModel& menu) {
  Titles result;
  for (const auto& item : menu.items) {
    result.push_back(item.title + (item.on ? " [on]" : "") + " -> " +
                     std::string(selectorName(item.action)));
  }
  return result;
}

RootStatus root(bool canLock, std::optional<bool> mint, std::optional<bool> rootLocked) {
  return {"/r", "", "", "", canLock, {}, {}, {}, rootLocked, mint, {}};
}

TEST(ContextMenu, ItemsFitTheTargetAndWhatItsRootAllows) {
  RootStatus plain = root(false, std::nullopt, std::nullopt);
  RootStatus lockedRoot = root(true, true, true), unlockedRoot = root(true, false, false);
  RootStatus full = root(true, true, std::nullopt);
  full.roles = std::map<std::string, std::string>{{"masters", "A"}, {"review", "A"}};
  const CanonicalSet kept{"A"}, locked{"Parent"}, rootListed{""};
  const std::string keep = "Keep Local on This Mac -> keepLocal:",
                    lock = "Lock Folder -> toggleLock:",
                    unlock = "Unlock Folder -> toggleLock:",
                    folderLink = "Copy Folder Link -> folderLink:",
                    projectLink = "Copy Project Link -> copyLink:",
                    follow = "Copy Download-Only Link -> followLink:",
                    upload = "Copy Upload Link -> uploadLink:",
                    masters = "Set as Masters Delivery Folder -> setMasters:",
                    review = "Set as Video Review Folder -> setReview:",
                    import = "Import Folder to Resolve -> importResolve:",
                    sync = "Sync Now -> syncNow:";
  const std::vector<std::pair<MenuFacts, Titles>> cases = {
      // Files, and paths that are missing, get the link and Sync Now only.
      {{"a.mov", false, &lockedRoot}, {projectLink, sync}},
      // The root follows its own lock, never the lists, and has no folder items.
      {{"", true, &plain}, {projectLink, import, sync}},
      {{"", true, &lockedRoot, nullptr, &rootListed},
       {unlock, follow, upload, import, sync}},
      {{"", true, &unlockedRoot, nullptr, &rootListed},
       {lock, projectLink, import, sync}},
      // A folder below the root gets every item its root allows.
      {{"F", true, &plain}, {keep, projectLink, masters, review, import, sync}},
      {{"A/B", true, &full, &kept, &locked},
       {keep, lock, folderLink, follow, upload, masters, review, import, sync}},
      {{"Parent/Child", true, &full, &kept, &locked},
       {keep, unlock, folderLink, follow, upload, masters, review, import, sync}},
      {{"A", true, &full, &kept, &locked},
       {"Stop Keeping Local \u2014 Sync to Project -> keepLocal:", lock, folderLink,
        follow, upload,
        "\u2713 Masters Delivery Folder \u2014 Click to Clear [on] -> setMasters:",
        "\u2713 Video Review Folder \u2014 Click to Clear [on] -> setReview:", import,
        sync}},
  };
  for (const auto& [facts, expected] : cases) {
    const MenuModel menu = buildMenu(facts);
    EXPECT_EQ(menu.title, "Quorbitz");
    EXPECT_EQ(titles(menu), expected) << facts.rel;
  }
}

// A menu is for the first selected item or the targeted one; an action
// prefers the selection, then the target, then the last menu's item.
TEST(MenuTarget, MenusAndActionsFindTheirItem) {
  const std::vector<std::string> selection{"/r/a", "/r/b"}, none;
  EXPECT_EQ(menuTarget(0, selection, "/r/t"), "/r/a");
  EXPECT_EQ(menuTarget(0, none, "/r/t"), std::nullopt);
  EXPECT_EQ(menuTarget(1, selection, "/r/t"), "/r/t");
  EXPECT_EQ(menuTarget(3, selection, std::nullopt), std::nullopt);
  EXPECT_EQ(actingURL(selection, "/t", "/m"), "/r/a");
  EXPECT_EQ(actingURL(none, "/t", "/m"), "/t");
  EXPECT_EQ(actingURL(std::nullopt, std::nullopt, "/m"), "/m");
  EXPECT_EQ(actingURL(std::nullopt, std::nullopt, std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace quorbitz
