// SPDX-License-Identifier: Apache-2.0
#include "badging/badge_cache.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>

namespace quorbitz {
namespace {

constexpr size_t kShardCount = 256;
constexpr size_t kChunkOfBytes = size_t{256} << 10;
constexpr size_t kSmallestShard = 8;

size_t slotOf(uint32_t hash, size_t slotCount) { return hash & (slotCount - 1); }

uint32_t checkedLength(size_t length) {
  if (length > UINT32_MAX) throw std::length_error("path too long to cache");
  return static_cast<uint32_t>(length);
}

}  // namespace

struct BadgeCache::Block {
  uint32_t hash;
  uint32_t pathLength;
  uint32_t relLength;
  uint8_t relStored;  // 0 when the canonical rel is the path's own tail
  uint8_t badge;

  char* bytes() { return reinterpret_cast<char*>(this + 1); }
  std::string_view path() { return {bytes(), pathLength}; }
  std::string_view canonicalRel() {
    if (relStored) return {bytes() + pathLength, relLength};
    return {bytes() + pathLength - relLength, relLength};
  }
  size_t size() const {
    return (sizeof(Block) + pathLength + (relStored ? relLength : 0) + 3) & ~size_t{3};
  }
};

BadgeCache::Block* BadgeCache::makeBlock(std::string_view path, std::string_view canonicalRel,
                                         uint32_t hash, BadgeId badge) {
  const bool relIsTail = path.ends_with(canonicalRel);
  const Block header{hash, checkedLength(path.size()), checkedLength(canonicalRel.size()),
                     static_cast<uint8_t>(relIsTail ? 0 : 1), static_cast<uint8_t>(badge)};
  auto* block = new (allocate(header.size())) Block(header);
  std::memcpy(block->bytes(), path.data(), path.size());
  if (!relIsTail) {
    std::memcpy(block->bytes() + path.size(), canonicalRel.data(), canonicalRel.size());
  }
  liveBytes_ += header.size();
  return block;
}

char* BadgeCache::allocate(size_t size) {
  if (size > kChunkOfBytes / 4) {
    chunksOfBytes_.push_back(std::unique_ptr<char[]>(new char[size]));
    return chunksOfBytes_.back().get();
  }
  if (size > left_) {
    chunksOfBytes_.push_back(std::unique_ptr<char[]>(new char[kChunkOfBytes]));
    cursor_ = chunksOfBytes_.back().get();
    left_ = kChunkOfBytes;
  }
  char* at = cursor_;
  cursor_ += size;
  left_ -= size;
  return at;
}

void BadgeCache::release(Block* block) {
  liveBytes_ -= block->size();
  deadBytes_ += block->size();
}

void BadgeCache::compact() {
  // All copies are made before any entry moves to them, so running out of
  // memory part-way leaves the cache as it was.
  std::vector<std::unique_ptr<char[]>> oldChunks = std::move(chunksOfBytes_);
  chunksOfBytes_.clear();
  cursor_ = nullptr;
  left_ = 0;
  std::vector<Block*> moved(handleCount_, nullptr);
  try {
    for (size_t handle = 0; handle < handleCount_; ++handle) {
      Block* block = entry(static_cast<Handle>(handle)).block;
      if (!block) continue;
      moved[handle] = reinterpret_cast<Block*>(allocate(block->size()));
      std::memcpy(static_cast<void*>(moved[handle]), block, block->size());
    }
  } catch (...) {
    chunksOfBytes_ = std::move(oldChunks);
    cursor_ = nullptr;
    left_ = 0;
    return;
  }
  for (size_t handle = 0; handle < handleCount_; ++handle) {
    if (moved[handle]) entry(static_cast<Handle>(handle)).block = moved[handle];
  }
  deadBytes_ = 0;
}

// Open addressing with linear probing; a slot holds a handle plus one, or 0.
struct BadgeCache::Shard {
  std::vector<uint32_t> slots;
  size_t count = 0;
};

BadgeCache::BadgeCache() : shards_(new Shard[kShardCount]) {}

BadgeCache::~BadgeCache() = default;

uint32_t BadgeCache::hashOf(std::string_view canonical) {
  // Every badge request hashes its whole path: two lanes of eight-byte words,
  // a multiply each, so that a long path is no long chain of multiplies;
  // then MurmurHash3's finaliser, so that the top bits (the shard) and the
  // low ones (the slot) both vary.
  constexpr uint64_t kMultiplier = 0x517CC1B727220A95ULL;
  auto step = [](uint64_t lane, uint64_t word) {
    return (std::rotl(lane, 5) ^ word) * kMultiplier;
  };
  uint64_t first = canonical.size();
  uint64_t second = 0x243F6A8885A308D3ULL;
  const char* bytes = canonical.data();
  size_t left = canonical.size();
  for (; left >= 16; left -= 16, bytes += 16) {
    uint64_t words[2];
    std::memcpy(words, bytes, sizeof words);
    first = step(first, words[0]);
    second = step(second, words[1]);
  }
  if (left > 0) {
    uint64_t words[2] = {0, 0};
    std::memcpy(words, bytes, left);
    first = step(first, words[0]);
    second = step(second, words[1]);
  }
  uint64_t hash = first ^ std::rotl(second, 32);
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDULL;
  hash ^= hash >> 33;
  hash *= 0xC4CEB9FE1A85EC53ULL;
  hash ^= hash >> 33;
  return static_cast<uint32_t>(hash);
}

BadgeCache::Shard& BadgeCache::shardOf(uint32_t hash) const {
  return shards_[hash >> 24];
}

std::string_view BadgeCache::path(Handle handle) const { return entry(handle).block->path(); }

BadgeId BadgeCache::badge(Handle handle) const {
  return static_cast<BadgeId>(entry(handle).block->badge);
}

void BadgeCache::setBadge(Handle handle, BadgeId badge) {
  entry(handle).block->badge = static_cast<uint8_t>(badge);
}

std::string_view BadgeCache::canonicalRel(Handle handle) const {
  return entry(handle).block->canonicalRel();
}

bool BadgeCache::matches(Handle handle, std::string_view path, uint32_t hash) const {
  Block* block = entry(handle).block;
  return block->hash == hash && block->path() == path;
}

std::optional<BadgeCache::Handle> BadgeCache::find(std::string_view path,
                                                   std::string_view canonical) const {
  return findHashed(path, hashOf(canonical));
}

std::optional<BadgeCache::Handle> BadgeCache::findHashed(std::string_view path,
                                                         uint32_t hash) const {
  const Shard& shard = shardOf(hash);
  if (shard.slots.empty()) return std::nullopt;
  const size_t mask = shard.slots.size() - 1;
  for (size_t slot = slotOf(hash, shard.slots.size()); shard.slots[slot] != 0;
       slot = (slot + 1) & mask) {
    const Handle handle = shard.slots[slot] - 1;
    if (matches(handle, path, hash)) return handle;
  }
  return std::nullopt;
}

BadgeCache::Handle BadgeCache::newHandle() {
  if (!freeHandles_.empty()) {
    Handle handle = freeHandles_.back();
    freeHandles_.pop_back();
    return handle;
  }
  if (handleCount_ >= UINT32_MAX - 1) throw std::length_error("badge cache full");
  if ((handleCount_ >> kChunkBits) == chunks_.size()) {
    chunks_.push_back(std::make_unique<Entry[]>(size_t{1} << kChunkBits));
  }
  return static_cast<Handle>(handleCount_++);
}

BadgeCache::Handle BadgeCache::insertOrAssign(std::string_view path, std::string_view canonical,
                                              std::string_view canonicalRel,
                                              Placement placement, BadgeId badge) {
  const uint32_t hash = hashOf(canonical);
  if (std::optional<Handle> found = findHashed(path, hash)) {
    Entry& existing = entry(*found);
    if (existing.block->canonicalRel() != canonicalRel) {
      Block* replacement = makeBlock(existing.block->path(), canonicalRel,
                                     existing.block->hash, badge);
      release(existing.block);
      existing.block = replacement;
    }
    existing.placement = placement;
    existing.block->badge = static_cast<uint8_t>(badge);
    return *found;
  }
  Shard& shard = shardOf(hash);
  // At most three quarters full; a shard holds a 256th of the entries, so
  // growing one is quick.
  if (4 * (shard.count + 1) > 3 * shard.slots.size()) {
    std::vector<uint32_t> grown(std::max(kSmallestShard, 2 * shard.slots.size()), 0);
    for (uint32_t occupant : shard.slots) {
      if (occupant == 0) continue;
      size_t slot = slotOf(entry(occupant - 1).block->hash, grown.size());
      while (grown[slot] != 0) slot = (slot + 1) & (grown.size() - 1);
      grown[slot] = occupant;
    }
    shard.slots = std::move(grown);
  }
  Block* block = makeBlock(path, canonicalRel, hash, badge);
  Handle handle;
  try {
    handle = newHandle();
  } catch (...) {
    release(block);
    throw;
  }
  entry(handle) = Entry{block, placement};
  size_t slot = slotOf(hash, shard.slots.size());
  while (shard.slots[slot] != 0) slot = (slot + 1) & (shard.slots.size() - 1);
  shard.slots[slot] = handle + 1;
  ++shard.count;
  ++liveCount_;
  return handle;
}

void BadgeCache::erase(Handle handle) {
  Entry& erased = entry(handle);
  Shard& shard = shardOf(erased.block->hash);
  const size_t mask = shard.slots.size() - 1;
  size_t hole = slotOf(erased.block->hash, shard.slots.size());
  while (shard.slots[hole] != handle + 1) hole = (hole + 1) & mask;
  // Backward shift: later members of the probe run move up into the hole
  // unless that would put them before their own home slot.
  for (size_t next = (hole + 1) & mask; shard.slots[next] != 0; next = (next + 1) & mask) {
    size_t home = slotOf(entry(shard.slots[next] - 1).block->hash, shard.slots.size());
    if (((next - home) & mask) >= ((next - hole) & mask)) {
      shard.slots[hole] = shard.slots[next];
      hole = next;
    }
  }
  shard.slots[hole] = 0;
  --shard.count;
  --liveCount_;
  release(erased.block);
  erased.block = nullptr;
  // A failed push leaves the handle unused, never lost from the table.
  try {
    freeHandles_.push_back(handle);
  } catch (...) {
  }
  if (deadBytes_ > 2 * liveBytes_ + kChunkOfBytes) compact();
}

}  // namespace quorbitz
