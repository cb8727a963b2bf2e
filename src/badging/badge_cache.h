// SPDX-License-Identifier: Apache-2.0
// Every badge handed to the file manager, keyed by the item's path as the
// file manager spelled it, with what re-evaluating it after a load needs again:
// its root, and its path below the root in canonical spelling. A long
// session in a large project holds a million of these, so an entry costs a
// few dozen bytes beside its path and the table never stops to grow all at
// once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "badging/badge_set.h"

namespace quorbitz {

class BadgeCache {
 public:
  using Handle = uint32_t;

  // Where the item lay when it was last located.
  struct Placement {
    uint32_t rootIndex = 0;
    // Bumped by the controller whenever a load changes the root paths; a
    // placement from another one must be worked out again.
    uint32_t rootsGeneration = 0;
  };

  BadgeCache();
  ~BadgeCache();
  BadgeCache(const BadgeCache&) = delete;
  BadgeCache& operator=(const BadgeCache&) = delete;

  // `canonical` is the path's canonical spelling. Equivalent spellings are
  // entries of their own: on Linux they name distinct files (`Kelvin` and
  // `\u212Aelvin`), each badged and told of its changes, and a file manager
  // spells one file the same way each time.
  std::optional<Handle> find(std::string_view path, std::string_view canonical) const;
  // Adds the item, or updates its entry. `canonicalRel` is the part of
  // `canonical` below the root.
  Handle insertOrAssign(std::string_view path, std::string_view canonical,
                        std::string_view canonicalRel, Placement placement, BadgeId badge);
  void erase(Handle handle);

  // Handles run from 0 to handleLimit() - 1, in the order their items were
  // first asked about (a freed handle is reused); not all are live.
  size_t handleLimit() const { return handleCount_; }
  bool live(Handle handle) const { return handle < handleCount_ && entry(handle).block; }
  size_t size() const { return liveCount_; }

  std::string_view path(Handle handle) const;
  std::string_view canonicalRel(Handle handle) const;
  BadgeId badge(Handle handle) const;
  void setBadge(Handle handle, BadgeId badge);
  Placement placement(Handle handle) const { return entry(handle).placement; }

 private:
  // The path, then its canonical part below the root unless that is the
  // path's own tail, behind a small header, in the cache's own chunks: a
  // separate allocation per entry would cost more than the entry itself.
  struct Block;
  struct Entry {
    Block* block = nullptr;
    Placement placement;
  };
  struct Shard;

  // Entries live in fixed-size chunks, so adding one never moves the others.
  static constexpr size_t kChunkBits = 12;
  Entry& entry(Handle handle) const {
    return chunks_[handle >> kChunkBits][handle & ((size_t{1} << kChunkBits) - 1)];
  }
  Handle newHandle();
  Block* makeBlock(std::string_view path, std::string_view canonicalRel, uint32_t hash,
                   BadgeId badge);
  char* allocate(size_t size);
  void release(Block* block);
  // Copies the live blocks into fresh chunks once most of the old bytes
  // belong to erased entries.
  void compact();

  static uint32_t hashOf(std::string_view canonical);
  Shard& shardOf(uint32_t hash) const;
  std::optional<Handle> findHashed(std::string_view path, uint32_t hash) const;
  bool matches(Handle handle, std::string_view path, uint32_t hash) const;
  void fill(Entry& entry, std::string_view path, std::string_view canonical,
            std::string_view canonicalRel, uint32_t hash);

  // Shards grow one at a time, each a small table, so no request waits
  // while the whole index is rebuilt.
  std::unique_ptr<Shard[]> shards_;
  std::vector<std::unique_ptr<Entry[]>> chunks_;
  size_t handleCount_ = 0;
  std::vector<Handle> freeHandles_;
  size_t liveCount_ = 0;

  std::vector<std::unique_ptr<char[]>> chunksOfBytes_;
  char* cursor_ = nullptr;
  size_t left_ = 0;
  size_t liveBytes_ = 0;
  size_t deadBytes_ = 0;
};

}  // namespace quorbitz
