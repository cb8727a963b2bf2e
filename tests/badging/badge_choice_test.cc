// SPDX-License-Identifier: Apache-2.0
#include "badging/badge_choice.h"

#include <gtest/gtest.h>

namespace quorbitz {
namespace {

struct Case {
  std::string rel;
  bool isDirectory;
  std::optional<BadgeId> expected;
};

TEST(BadgeChoice, FilesAndFoldersFollowTheListsInOrder) {
  CanonicalSet synced{"clip.mov", "Footage/a.mov", "Kept"};
  CanonicalSet kept{"Kept", "notes.txt"};
  CanonicalSet locked{"Locked", "Both"};
  std::map<std::string, std::string> roles{{"masters", "Both"}, {"review", "Both"},
                                           {"other", "Locked/Deep"}};
  RootFacts facts{&synced, &kept, &locked, &roles};
  const std::vector<Case> cases = {
      {"clip.mov", false, BadgeId::synced},
      {"unlisted.mov", false, BadgeId::pending},
      {"Footage/a.mov", false, BadgeId::synced},
      {"notes.txt", false, std::nullopt},
      {"Kept/inner.mov", false, std::nullopt},
      {"Kept", true, BadgeId::kept},
      {"Kept/Sub", true, std::nullopt},
      {"Locked", true, BadgeId::locked},
      {"Locked/Deep", true, BadgeId::locked},
      {"Locked/file.mov", false, BadgeId::pending},
      {"Both", true, BadgeId::masters},
      {"Footage", true, BadgeId::synced},
      {"Lockedx", true, BadgeId::synced},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseBadge(c.rel, c.isDirectory, facts), c.expected) << c.rel;
  }
}

TEST(BadgeChoice, ReviewRoleAndAbsentFacts) {
  std::map<std::string, std::string> roles{{"review", "Exports"}};
  CanonicalSet locked{"Exports"};
  EXPECT_EQ(chooseBadge("Exports", true, {nullptr, nullptr, &locked, &roles}),
            BadgeId::review);
  EXPECT_EQ(chooseBadge("Exports", true, {}), BadgeId::synced);
  EXPECT_EQ(chooseBadge("a.mov", false, {}), BadgeId::pending);
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
