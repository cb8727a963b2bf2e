// SPDX-License-Identifier: Apache-2.0
// A set of path texts held in their canonical spelling, so that a lookup
// normalises only the text looked up, once. A set whose members are looked up
// by every ancestor of a deep path (underPrefix) then costs time linear in the
// path's length, whatever its characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorbitz {

class CanonicalSet {
 public:
  CanonicalSet() = default;
  CanonicalSet(std::initializer_list<std::string> members);
  template <typename Iterator>
  CanonicalSet(Iterator first, Iterator last) {
    insert(first, last);
  }

  // False when an equivalent member was there already.
  bool insert(std::string_view text);
  template <typename Iterator>
  void insert(Iterator first, Iterator last) {
    for (; first != last; ++first) insert(*first);
  }
  bool contains(std::string_view text) const;
  // For text already in canonical spelling, such as a piece of canonicalText's
  // result that ends before a "/".
  bool containsCanonical(std::string_view canonical) const;
  // True when the canonical text, or a part of it that ends before a "/", is
  // a member. Hashes the text once, so the cost is linear in its length
  // however deep it lies.
  bool containsCanonicalOrAncestor(std::string_view canonical) const;
  bool empty() const { return members_.empty(); }
  size_t size() const { return members_.size(); }
  void reserve(size_t count);

  // The names between the "/" are hashed one after the other, eight bytes a
  // step, each continuing the hash of those before it: the hash of every
  // leading part that ends before a "/" comes on the way to the hash of the
  // whole. Not spread evenly over the bits; the table mixes it.
  static uint64_t hashOf(std::string_view text);
  // The hash of a text that is `hash`'s text, a "/" and `name`; from the
  // basis, the hash of `name` alone.
  static constexpr uint64_t kHashBasis = 0x243F6A8885A308D3ULL;
  static uint64_t hashName(uint64_t hash, std::string_view name);

 private:
  // A large project's sets hold millions of paths: a member is its length
  // and bytes in a shared chunk, plus eight bytes here (where it lies and
  // part of its hash) and a slot of the table.
  using Member = uint64_t;
  std::string_view textOf(Member member) const;
  bool containsHashed(std::string_view canonical, uint64_t hash) const;
  bool insertCanonical(std::string_view canonical);
  Member store(std::string_view canonical, uint64_t hash);
  void rebuildTable(size_t slotCount);

  std::vector<std::vector<char>> chunks_;
  std::vector<Member> members_;
  // Open addressing with linear probing: 0 is free, otherwise a member's
  // index plus one.
  std::vector<uint32_t> slots_;
};

}  // namespace quorbitz
