// SPDX-License-Identifier: Apache-2.0
#include "menu/context_menu.h"

#include <gtest/gtest.h>

#include "menu/acting_target.h"

namespace quorbitz {
namespace {

std::vector<std::string> titles(const MenuModel& menu) {
  std::vector<std::string> result;
  for (const auto& item : menu.items) {
    result.push_back(item.title + (item.on ? " [on]" : "") + " -> " +
                     std::string(selectorName(item.action)));
  }
  return result;
}

RootStatus root(bool canLock, std::optional<bool> mint, std::optional<bool> rootLocked) {
  RootStatus r;
  r.path = "/r";
  r.canLock = canLock;
  r.canMintLinks = mint;
  r.rootLocked = rootLocked;
  return r;
}

TEST(ContextMenu, FilesAndMissingPathsGetTheLinkAndSyncOnly) {
  RootStatus r = root(true, true, true);
  EXPECT_EQ(titles(buildMenu({"a.mov", false, &r})),
            (std::vector<std::string>{"Copy Project Link -> copyLink:",
                                      "Sync Now -> syncNow:"}));
}

TEST(ContextMenu, RootFolderFollowsItsOwnLockAndOffersNoFolderItems) {
  RootStatus plain = root(false, std::nullopt, std::nullopt);
  EXPECT_EQ(titles(buildMenu({"", true, &plain})),
            (std::vector<std::string>{"Copy Project Link -> copyLink:",
                                      "Import Folder to Resolve -> importResolve:",
                                      "Sync Now -> syncNow:"}));
  RootStatus locked = root(true, true, true);
  CanonicalSet lockedSet{""};
  EXPECT_EQ(titles(buildMenu({"", true, &locked, nullptr, &lockedSet})),
            (std::vector<std::string>{"Unlock Folder -> toggleLock:",
                                      "Copy Download-Only Link -> followLink:",
                                      "Copy Upload Link -> uploadLink:",
                                      "Import Folder to Resolve -> importResolve:",
                                      "Sync Now -> syncNow:"}));
  RootStatus unlockedRoot = root(true, false, false);
  EXPECT_EQ(titles(buildMenu({"", true, &unlockedRoot, nullptr, &lockedSet}))[0],
            "Lock Folder -> toggleLock:");
}

TEST(ContextMenu, FolderBelowTheRootGetsEveryItemItsRootAllows) {
  RootStatus r = root(true, true, std::nullopt);
  r.roles = std::map<std::string, std::string>{{"masters", "A"}, {"review", "A"}};
  CanonicalSet kept{"A"};
  CanonicalSet locked{"Parent"};
  EXPECT_EQ(titles(buildMenu({"A", true, &r, &kept, &locked})),
            (std::vector<std::string>{
                "Stop Keeping Local \u2014 Sync to Project -> keepLocal:",
                "Lock Folder -> toggleLock:", "Copy Folder Link -> folderLink:",
                "Copy Download-Only Link -> followLink:",
                "Copy Upload Link -> uploadLink:",
                "\u2713 Masters Delivery Folder \u2014 Click to Clear [on] -> setMasters:",
                "\u2713 Video Review Folder \u2014 Click to Clear [on] -> setReview:",
                "Import Folder to Resolve -> importResolve:", "Sync Now -> syncNow:"}));
  EXPECT_EQ(titles(buildMenu({"A/B", true, &r, &kept, &locked})),
            (std::vector<std::string>{
                "Keep Local on This Mac -> keepLocal:", "Lock Folder -> toggleLock:",
                "Copy Folder Link -> folderLink:",
                "Copy Download-Only Link -> followLink:",
                "Copy Upload Link -> uploadLink:",
                "Set as Masters Delivery Folder -> setMasters:",
                "Set as Video Review Folder -> setReview:",
                "Import Folder to Resolve -> importResolve:", "Sync Now -> syncNow:"}));
  EXPECT_EQ(titles(buildMenu({"Parent/Child", true, &r, &kept, &locked}))[1],
            "Unlock Folder -> toggleLock:");
}

TEST(ContextMenu, PlainRootGivesSixItemsForAFolderBelowIt) {
  RootStatus r = root(false, std::nullopt, std::nullopt);
  EXPECT_EQ(buildMenu({"F", true, &r}).items.size(), 6u);
  EXPECT_EQ(buildMenu({"F", true, &r}).title, "Quorbitz");
}

TEST(MenuTarget, KindZeroTakesTheFirstSelectionOthersTheTarget) {
  std::vector<std::string> selection{"/r/a", "/r/b"};
  EXPECT_EQ(menuTarget(0, selection, "/r/t"), "/r/a");
  EXPECT_EQ(menuTarget(0, std::vector<std::string>{}, "/r/t"), std::nullopt);
  EXPECT_EQ(menuTarget(1, selection, "/r/t"), "/r/t");
  EXPECT_EQ(menuTarget(3, selection, std::nullopt), std::nullopt);
}

TEST(ActingTarget, SelectionThenTargetThenLastMenuTarget) {
  std::vector<std::string> three{"/a", "/b", "/c"};
  EXPECT_EQ(actingURL(three, "/t", "/m"), "/a");
  EXPECT_EQ(actingURL(std::vector<std::string>{}, "/t", "/m"), "/t");
  EXPECT_EQ(actingURL(std::nullopt, std::nullopt, "/m"), "/m");
  EXPECT_EQ(actingURL(std::nullopt, std::nullopt, std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace quorbitz
