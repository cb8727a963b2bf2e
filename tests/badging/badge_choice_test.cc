// SPDX-License-Identifier: Apache-2.0
#include "badging/badge_choice.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quorbitz {
namespace {

TEST(BadgeChoice, FilesAndFoldersFollowTheListsInOrder) {
  using enum BadgeId;
  CanonicalSet syncedList{"clip.mov", "Footage/a.mov", "Kept"}, keptList{"Kept", "notes.txt"},
      lockedList{"Locked", "Both"};
  std::map<std::string, std::string> roles{{"masters", "Both"}, {"review", "Both"},
                                           {"other", "Locked/Deep"}};
  RootFacts facts{&syncedList, &keptList, &lockedList, &roles}, none{};
  CanonicalSet exports{"Exports"};
  std::map<std::string, std::string> reviewRole{{"review", "Exports"}};
  RootFacts reviewOnly{nullptr, nullptr, &exports, &reviewRole};
  // The item below the root, whether it is a folder, and its badge.
  const std::vector<std::tuple<std::string, bool, std::optional<BadgeId>>> cases = {
      {"clip.mov", false, synced},  {"unlisted.mov", false, pending},
      {"Footage/a.mov", false, synced}, {"notes.txt", false, std::nullopt},
      {"Kept/inner.mov", false, std::nullopt}, {"Kept", true, kept},
      {"Kept/Sub", true, std::nullopt}, {"Locked", true, locked},
      {"Locked/Deep", true, locked}, {"Locked/file.mov", false, pending},
      {"Both", true, masters},  {"Footage", true, synced},  {"Lockedx", true, synced},
  };
  for (const auto& [rel, isDirectory, badge] : cases) {
    EXPECT_EQ(chooseBadge(rel, isDirectory, facts), badge) << rel;
  }
  // The review role, and a root with no lists or roles at all.
  EXPECT_EQ(chooseBadge("Exports", true, reviewOnly), review);
  EXPECT_EQ(chooseBadge("Exports", true, none), synced);
  EXPECT_EQ(chooseBadge("a.mov", false, none), pending);
}

TEST(BadgeChoice, FilteredNames) {
  for (std::string name : {".DS_Store", "._notes", "Icon\r", "x Synced with Quorbitz.txt",
                           "Kept local copy", "\xE2\x84\xAA" "ept local copy"}) {
    EXPECT_TRUE(nameNeverBadged(name)) << name;
  }
  for (std::string name : {"Icon", "DS_Store", "_notes", "Kept Local", "a.mov"}) {
    EXPECT_FALSE(nameNeverBadged(name)) << name;
  }
}

}  // namespace
}  // namespace quorbitz
