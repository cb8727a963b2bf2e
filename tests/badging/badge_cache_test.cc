// SPDX-License-Identifier: Apache-2.0
#include "badging/badge_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "status/canonical_text.h"

namespace quorbitz {
namespace {

std::string itemPath(int index) {
  // Every third name carries a decomposed accent, as macOS-made names do.
  return "/r/Day " + std::to_string(index % 7) + "/Cafe" + (index % 3 ? "" : "\u0301") + " " +
         std::to_string(index) + ".mov";
}

std::optional<BadgeCache::Handle> findItem(const BadgeCache& cache, const std::string& path) {
  return cache.find(path, canonicalText(path));
}

TEST(BadgeCache, KeepsEachSpellingAcrossGrowthAndErasure) {
  BadgeCache cache;
  constexpr int kItems = 40000;
  for (int index = 0; index < kItems; ++index) {
    const std::string path = itemPath(index);
    const std::string canonical = canonicalText(path);
    cache.insertOrAssign(path, canonical, std::string_view(canonical).substr(3), {}, BadgeId::pending);
  }
  ASSERT_EQ(cache.size(), size_t{kItems});
  // The precomposed spelling, on Linux another file, gets an entry of its own.
  const std::string composed = canonicalText(itemPath(3));
  ASSERT_NE(composed, itemPath(3));
  cache.insertOrAssign(composed, composed, std::string_view(composed).substr(3), {7, 1},
                       BadgeId::locked);
  const auto third = findItem(cache, itemPath(3)), thirdComposed = findItem(cache, composed);
  ASSERT_TRUE(third && thirdComposed);
  EXPECT_NE(*third, *thirdComposed);
  EXPECT_EQ(cache.path(*thirdComposed), composed);
  EXPECT_EQ(cache.canonicalRel(*third), cache.canonicalRel(*thirdComposed));
  EXPECT_EQ(cache.badge(*third), BadgeId::pending);
  EXPECT_EQ(cache.badge(*thirdComposed), BadgeId::locked);
  EXPECT_EQ(cache.placement(*thirdComposed).rootIndex, 7u);
  cache.erase(*thirdComposed);

  // Erasing three in four makes the cache copy the rest into fresh chunks.
  for (int index = 0; index < kItems; ++index) {
    if (index % 4 != 1) cache.erase(*findItem(cache, itemPath(index)));
  }
  for (int index = 0; index < kItems; ++index) {
    std::optional<BadgeCache::Handle> found = findItem(cache, itemPath(index));
    ASSERT_EQ(found.has_value(), index % 4 == 1) << itemPath(index);
    if (found) {
      EXPECT_EQ(cache.path(*found), itemPath(index));
    }
  }
  // Freed handles are used again before the walk grows.
  const size_t limit = cache.handleLimit();
  const std::string fresh = "/r/new.mov";
  cache.insertOrAssign(fresh, fresh, "new.mov", {}, BadgeId::synced);
  EXPECT_EQ(cache.handleLimit(), limit);
  EXPECT_EQ(cache.size(), size_t{kItems / 4 + 1});
}

}  // namespace
}  // namespace quorbitz
