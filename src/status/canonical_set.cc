// SPDX-License-Identifier: Apache-2.0
#include "status/canonical_set.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "status/canonical_text.h"

namespace quorbitz {
namespace {

constexpr size_t kFirstChunkSize = 256;
constexpr size_t kLargestChunkSize = size_t{1} << 20;
constexpr size_t kSmallestTable = 8;

uint32_t tagOf(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

// The table's size is a power of two. FNV-1a's low bits mix poorly, so the
// slot comes from the top bits of a Fibonacci multiple.
size_t slotOf(uint64_t hash, size_t slotCount) {
  const int shift = 64 - std::countr_zero(slotCount);
  return shift == 64 ? 0 : static_cast<size_t>((hash * 0x9E3779B97F4A7C15ULL) >> shift);
}

// At most half full: probe runs stay short, and a table of 32-bit slots
// still costs only eight bytes per member.
size_t slotsFor(size_t members) {
  return std::max(kSmallestTable, std::bit_ceil(2 * members + 1));
}

}  // namespace

CanonicalSet::CanonicalSet(std::initializer_list<std::string> members) {
  insert(members.begin(), members.end());
}

uint64_t CanonicalSet::hashOf(std::string_view text) {
  uint64_t hash = kHashBasis;
  for (char byte : text) hash = hashStep(hash, byte);
  return hash;
}

std::string_view CanonicalSet::textOf(const Member& member) const {
  return {chunks_[member.chunk].data() + member.offset, member.length};
}

void CanonicalSet::reserve(size_t count) {
  members_.reserve(count);
  if (slotsFor(count) > slots_.size()) rebuildTable(slotsFor(count));
}

bool CanonicalSet::insert(std::string_view text) {
  if (isAscii(text)) return insertCanonical(text);
  return insertCanonical(canonicalText(text));
}

bool CanonicalSet::insertCanonical(std::string_view canonical) {
  const uint64_t hash = hashOf(canonical);
  if (containsHashed(canonical, hash)) return false;
  if (members_.size() >= UINT32_MAX - 1) throw std::length_error("set too large");
  if (slotsFor(members_.size() + 1) > slots_.size()) {
    rebuildTable(slotsFor(members_.size() + 1));
  }
  members_.push_back(store(canonical, hash));
  size_t slot = slotOf(hash, slots_.size());
  while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
  slots_[slot] = static_cast<uint32_t>(members_.size());
  return true;
}

CanonicalSet::Member CanonicalSet::store(std::string_view canonical, uint64_t hash) {
  if (canonical.size() > UINT32_MAX) throw std::length_error("member too long");
  if (chunks_.empty() ||
      chunks_.back().capacity() - chunks_.back().size() < canonical.size()) {
    size_t next = chunks_.empty() ? kFirstChunkSize
                                  : std::min(2 * chunks_.back().capacity(), kLargestChunkSize);
    chunks_.emplace_back().reserve(std::max(next, canonical.size()));
  }
  std::vector<char>& chunk = chunks_.back();
  Member member{static_cast<uint32_t>(chunks_.size() - 1),
                static_cast<uint32_t>(chunk.size()),
                static_cast<uint32_t>(canonical.size()), tagOf(hash)};
  chunk.insert(chunk.end(), canonical.begin(), canonical.end());
  return member;
}

void CanonicalSet::rebuildTable(size_t slotCount) {
  slots_.assign(slotCount, 0);
  for (size_t index = 0; index < members_.size(); ++index) {
    size_t slot = slotOf(hashOf(textOf(members_[index])), slotCount);
    while (slots_[slot] != 0) slot = (slot + 1) & (slotCount - 1);
    slots_[slot] = static_cast<uint32_t>(index + 1);
  }
}

bool CanonicalSet::containsHashed(std::string_view canonical, uint64_t hash) const {
  if (slots_.empty()) return false;
  const uint32_t tag = tagOf(hash);
  for (size_t slot = slotOf(hash, slots_.size()); slots_[slot] != 0;
       slot = (slot + 1) & (slots_.size() - 1)) {
    const Member& member = members_[slots_[slot] - 1];
    if (member.hashTag == tag && textOf(member) == canonical) return true;
  }
  return false;
}

bool CanonicalSet::contains(std::string_view text) const {
  if (isAscii(text)) return containsCanonical(text);
  return containsCanonical(canonicalText(text));
}

bool CanonicalSet::containsCanonical(std::string_view canonical) const {
  return !members_.empty() && containsHashed(canonical, hashOf(canonical));
}

bool CanonicalSet::containsCanonicalOrAncestor(std::string_view canonical) const {
  if (members_.empty()) return false;
  uint64_t hash = kHashBasis;
  for (size_t index = 0; index < canonical.size(); ++index) {
    if (canonical[index] == '/' && containsHashed(canonical.substr(0, index), hash)) {
      return true;
    }
    hash = hashStep(hash, canonical[index]);
  }
  return containsHashed(canonical, hash);
}

}  // namespace quorbitz
