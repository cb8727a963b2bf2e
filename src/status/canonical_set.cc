// SPDX-License-Identifier: Apache-2.0
#include "status/canonical_set.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "status/canonical_text.h"

namespace quorbitz {
namespace {

constexpr size_t kFirstChunkSize = 256;
// A member lies at a chunk's number and an offset in it, packed with the
// top bits of its hash into one word.
constexpr int kOffsetBits = 20;
constexpr int kChunkBits = 20;
constexpr int kPositionBits = kOffsetBits + kChunkBits;
constexpr size_t kLargestChunkSize = size_t{1} << kOffsetBits;
constexpr size_t kSmallestTable = 8;

// FNV-1a's bits mix poorly: texts that differ in their last bytes land
// near each other, which a linear-probing table cannot afford. The table
// takes its slot and tag from a full avalanche of the hash.
uint64_t mixed(uint64_t hash) {
  hash ^= hash >> 33;
  hash *= 0xff51afd7ed558ccdULL;
  hash ^= hash >> 33;
  hash *= 0xc4ceb9fe1a85ec53ULL;
  return hash ^ (hash >> 33);
}

uint64_t tagOf(uint64_t hash) { return mixed(hash) >> kPositionBits; }

// The table's size is a power of two.
size_t slotOf(uint64_t hash, size_t slotCount) {
  return static_cast<size_t>(mixed(hash)) & (slotCount - 1);
}

// At most three quarters full: probe runs stay short, and a table of 32-bit
// slots costs four to eight bytes per member.
size_t slotsFor(size_t members) {
  return std::max(kSmallestTable, std::bit_ceil(members + members / 3 + 1));
}

// Lengths go before the bytes, seven bits to a byte: one byte for a name
// or a short path.
void appendLength(std::vector<char>& chunk, size_t length) {
  while (length >= 0x80) {
    chunk.push_back(static_cast<char>((length & 0x7F) | 0x80));
    length >>= 7;
  }
  chunk.push_back(static_cast<char>(length));
}

size_t lengthBytes(size_t length) {
  size_t bytes = 1;
  for (; length >= 0x80; length >>= 7) ++bytes;
  return bytes;
}

}  // namespace

CanonicalSet::CanonicalSet(std::initializer_list<std::string> members) {
  insert(members.begin(), members.end());
}

uint64_t CanonicalSet::hashName(uint64_t hash, std::string_view name) {
  // One multiply per word, as FxHash does: a path's hash costs a few dozen
  // cycles rather than one multiply per byte.
  constexpr uint64_t kMultiplier = 0x517CC1B727220A95ULL;
  auto step = [&hash](uint64_t word) { hash = (std::rotl(hash, 5) ^ word) * kMultiplier; };
  step(name.size());
  const char* bytes = name.data();
  size_t left = name.size();
  for (; left >= 8; left -= 8, bytes += 8) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    step(word);
  }
  if (left > 0) {
    uint64_t word = 0;
    std::memcpy(&word, bytes, left);
    step(word);
  }
  return hash;
}

uint64_t CanonicalSet::hashOf(std::string_view text) {
  uint64_t hash = kHashBasis;
  size_t start = 0;
  for (size_t slash; (slash = text.find('/', start)) != std::string_view::npos;
       start = slash + 1) {
    hash = hashName(hash, text.substr(start, slash - start));
  }
  return hashName(hash, text.substr(start));
}

std::string_view CanonicalSet::textOf(Member member) const {
  const std::vector<char>& chunk = chunks_[(member >> kOffsetBits) & ((1u << kChunkBits) - 1)];
  const char* at = chunk.data() + (member & ((1u << kOffsetBits) - 1));
  size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(*at++);
    length |= size_t{byte & 0x7Fu} << shift;
    if (byte < 0x80) break;
  }
  return {at, length};
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
  const size_t needed = lengthBytes(canonical.size()) + canonical.size();
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < needed ||
      chunks_.back().size() >= kLargestChunkSize) {
    if (chunks_.size() >= (size_t{1} << kChunkBits)) throw std::length_error("set too large");
    size_t next = chunks_.empty() ? kFirstChunkSize
                                  : std::min(2 * chunks_.back().capacity(), kLargestChunkSize);
    // A member longer than a chunk gets one of its own, starting at 0.
    chunks_.emplace_back().reserve(std::max(next, needed));
  }
  std::vector<char>& chunk = chunks_.back();
  const Member member = (tagOf(hash) << kPositionBits) |
                        (uint64_t{chunks_.size() - 1} << kOffsetBits) | chunk.size();
  appendLength(chunk, canonical.size());
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
  const uint64_t tag = tagOf(hash);
  for (size_t slot = slotOf(hash, slots_.size()); slots_[slot] != 0;
       slot = (slot + 1) & (slots_.size() - 1)) {
    const Member member = members_[slots_[slot] - 1];
    if ((member >> kPositionBits) == tag && textOf(member) == canonical) return true;
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
  size_t start = 0;
  for (size_t slash; (slash = canonical.find('/', start)) != std::string_view::npos;
       start = slash + 1) {
    hash = hashName(hash, canonical.substr(start, slash - start));
    if (containsHashed(canonical.substr(0, slash), hash)) return true;
  }
  return containsHashed(canonical, hashName(hash, canonical.substr(start)));
}

}  // namespace quorbitz
