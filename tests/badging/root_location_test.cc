// SPDX-License-Identifier: Apache-2.0
#include "badging/root_location.h"

#include <gtest/gtest.h>

namespace quorbitz {
namespace {

std::vector<RootStatus> rootsAt(std::vector<std::string> paths) {
  std::vector<RootStatus> roots;
  for (auto& path : paths) {
    RootStatus root;
    root.path = std::move(path);
    root.link = "link" + std::to_string(roots.size());
    roots.push_back(std::move(root));
  }
  return roots;
}

struct LocateCase {
  std::vector<std::string> roots;
  std::string item;
  std::optional<std::string> rootLink;
  std::string rel;
};

constexpr std::nullopt_t kNone = std::nullopt;  // no location

TEST(RootLocation, InnermostRootWinsAndRelIsCutAfterIt) {
  const std::vector<LocateCase> cases = {
      {{"/d", "/d/sub"}, "/d/sub/x", "link1", "x"}, {{"/d", "/d"}, "/d/x", "link0", "x"},
      {{"/d/sub", "/d"}, "/d/sub/x", "link0", "x"}, {{"/d", "/d/sub"}, "/d", "link0", ""},
      {{"/d", "/d/sub"}, "/d/subx", "link0", "subx"}, {{"/d/"}, "/d/x", kNone, ""},
      {{"/data/ab"}, "/data/abc", kNone, ""}, {{"/Data"}, "/data/x", kNone, ""},
      {{"/"}, "/", "link0", ""}, {{"/"}, "/x", kNone, ""}, {{}, "/d/x", kNone, ""},
      {{"/m/Caf\xC3\xA9"}, "/m/Cafe\xCC\x81/Sce\xCC\x80ne/a", "link0", "Sce\xCC\x80ne/a"},
      {{"/m/Cafe\xCC\x81"}, "/m/Caf\xC3\xA9/x", "link0", "x"},
      {{"/m/a\xE9"}, "/m/a\xE9/x", "link0", "x"},
      // Neither Latin-1 bytes nor a dropped accent spell the same name.
      {{"/m/caf\xE9"}, "/m/caf\xC3\xA9/x", kNone, ""},
      {{"/m/cafe"}, "/m/caf\xC3\xA9/x", kNone, ""},
  };
  for (const auto& c : cases) {
    std::vector<RootStatus> roots = rootsAt(c.roots);
    std::optional<Location> location = locate(c.item, roots);
    // Badges locate items by their canonical spelling, to the same root.
    std::vector<std::string> canonicalRoots;
    for (const RootStatus& root : roots) canonicalRoots.push_back(canonicalText(root.path));
    auto canonical = locateCanonical(c.item, canonicalText(c.item), canonicalRoots);
    SCOPED_TRACE(c.item);
    ASSERT_EQ(location.has_value(), c.rootLink.has_value());
    ASSERT_EQ(canonical.has_value(), c.rootLink.has_value());
    if (!location) continue;
    EXPECT_EQ(location->root->link, *c.rootLink);
    EXPECT_EQ(location->rel, c.rel);
    EXPECT_EQ(&roots[canonical->rootIndex], location->root);
    EXPECT_EQ(std::string_view(c.item).substr(canonical->relStart), c.rel);
  }
}

TEST(RootLocation, UnderPrefixMatchesMembersAndWhatLiesBelowThem) {
  struct Case {
    std::string rel;
    CanonicalSet set;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"a/b", {"a"}, true},       {"ab", {"a"}, false},   {"a", {"a"}, true},
      {"a", {"a/b"}, false},      {"a", {}, false},       {"", {""}, true},
      {"a", {""}, false},         {"x/y/z", {"x/y"}, true}, {"x/yz", {"x/y"}, false},
      {"Cafe\xCC\x81/clip", {"Caf\xC3\xA9"}, true},
      {"Cafe\xCC\x81/\xFF/clip", {"Caf\xC3\xA9/\xFF"}, true},
      {"Caf\xC3\xA9/clip", {"Cafe\xCC\x81\xFF"}, false},
      {"a/b/c/d", {"a/b/c"}, true}, {"a/b/c/d", {"a/b/c/d/e", "b", "a/c"}, false},
      {"a//b", {"a/"}, true},     {"/a", {""}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(underPrefix(c.rel, c.set), c.expected) << c.rel;
}

}  // namespace
}  // namespace quorbitz
