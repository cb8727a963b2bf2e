// SPDX-License-Identifier: Apache-2.0
// The data of a stall run: ten roots, each with its own synced clip paths,
// and the items the file manager asks about, a reel folder at a time, going
// round the roots, so that the first N items are the first N/10 clips of
// every root. Two status documents take turns: every tenth cached item is
// synced in one and pending in the other, half of them each way.
#pragma once

#include <cstddef>
#include <string>

namespace quorbitz::bench {

class StallWorld {
 public:
  static constexpr size_t kRootCount = 10;
  static constexpr size_t kReelSize = 100;

  // `syncedPaths` synced in all; the documents account for items up to
  // `mostCachedItems`.
  StallWorld(size_t syncedPaths, size_t mostCachedItems);

  // The item asked about `ordinal`-th; the first `realFiles` exist on disk.
  std::string item(size_t ordinal) const;
  void createRealFiles(size_t realFiles) const;
  // Document 0 or 1, and how many synced paths it lists.
  std::string document(int which, size_t* syncedPaths) const;
  // The average byte length of a synced path as a document spells it
  // (relative to its root).
  double averageSyncedPathBytes() const;
  // How many of the first `cachedItems` change their badge at each rewrite.
  static size_t changingItems(size_t cachedItems) { return (cachedItems + 9) / 10; }

 private:
  bool syncedIn(int which, size_t index) const;

  size_t syncedPerRoot_;
  size_t cachedPerRoot_;
};

}  // namespace quorbitz::bench
