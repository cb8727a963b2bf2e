// SPDX-License-Identifier: Apache-2.0
// Path text compared under Unicode canonical equivalence: a name spelled with
// a precomposed letter equals the same name spelled with a base letter and a
// combining mark. Comparison stays case-sensitive. Bytes that are not valid
// UTF-8 (possible in Linux file names) are compared byte for byte.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quorbitz {

bool isAscii(std::string_view text);
bool isValidUtf8(std::string_view text);
// `text` with every byte that is not part of valid UTF-8 shown as U+FFFD.
std::string withInvalidUtf8Replaced(std::string_view text);

// The NFC spelling of `text`; ASCII comes back unchanged, and so does each
// "/"-separated name that is not valid UTF-8. A piece of the result that ends
// before a "/" is the canonical spelling of the same piece of `text`.
std::string canonicalText(std::string_view text);

bool canonicallyEqual(std::string_view a, std::string_view b);

// Hash and equality for unordered containers keyed by path text. Plain ASCII
// keys, by far the most common, are hashed and compared as bytes.
struct CanonicalHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const;
};

struct CanonicalEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return a == b || canonicallyEqual(a, b);
  }
};

// A set of path texts held in their canonical spelling, so that a lookup
// normalises only the text looked up, once. A set whose members are looked up
// by every ancestor of a deep path (underPrefix) then costs time linear in the
// path's length, whatever its characters.
class CanonicalSet {
 public:
  CanonicalSet() = default;
  CanonicalSet(std::initializer_list<std::string> members);
  template <typename Iterator>
  CanonicalSet(Iterator first, Iterator last) {
    insert(first, last);
  }

  // False when an equivalent member was there already.
  bool insert(std::string text);
  template <typename Iterator>
  void insert(Iterator first, Iterator last) {
    for (; first != last; ++first) insert(*first);
  }
  bool contains(std::string_view text) const;
  // For text already in canonical spelling, such as a piece of canonicalText's
  // result that ends before a "/".
  bool containsCanonical(std::string_view canonical) const {
    return members_.contains(canonical);
  }
  // True when the canonical text, or a part of it that ends before a "/", is
  // a member. Hashes the text once, so the cost is linear in its length
  // however deep it lies.
  bool containsCanonicalOrAncestor(std::string_view canonical) const;
  bool empty() const { return members_.empty(); }
  size_t size() const { return members_.size(); }
  void reserve(size_t count) { members_.reserve(count); }

 private:
  // A text whose hash is already known.
  struct Hashed {
    std::string_view text;
    size_t hash;
  };
  // FNV-1a: the hash of every leading part of a text comes on the way to the
  // hash of the whole.
  struct BytesHash {
    using is_transparent = void;
    static constexpr size_t kOffsetBasis = 14695981039346656037ULL;
    static constexpr size_t kPrime = 1099511628211ULL;
    static size_t step(size_t hash, char byte) {
      return (hash ^ static_cast<unsigned char>(byte)) * kPrime;
    }
    size_t operator()(std::string_view text) const {
      size_t hash = kOffsetBasis;
      for (char byte : text) hash = step(hash, byte);
      return hash;
    }
    size_t operator()(const Hashed& hashed) const { return hashed.hash; }
  };
  struct BytesEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
    bool operator()(const Hashed& a, std::string_view b) const { return a.text == b; }
    bool operator()(std::string_view a, const Hashed& b) const { return a == b.text; }
  };
  std::unordered_set<std::string, BytesHash, BytesEqual> members_;
};

template <typename Value>
using CanonicalMap =
    std::unordered_map<std::string, Value, CanonicalHash, CanonicalEqual>;

}  // namespace quorbitz
