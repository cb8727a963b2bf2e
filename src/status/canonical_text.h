// SPDX-License-Identifier: Apache-2.0
// Path text compared under Unicode canonical equivalence: a name spelled with
// a precomposed letter equals the same name spelled with a base letter and a
// combining mark. Comparison stays case-sensitive. Bytes that are not valid
// UTF-8 (possible in Linux file names) are compared byte for byte.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorbitz {

bool isAscii(std::string_view text);
bool isValidUtf8(std::string_view text);
// `text` with every byte that is not part of valid UTF-8 shown as U+FFFD.
std::string withInvalidUtf8Replaced(std::string_view text);

// The NFC spelling of `text`; ASCII comes back unchanged, and so does each
// "/"-separated name that is not valid UTF-8. A piece of the result that ends
// before a "/" is the canonical spelling of the same piece of `text`.
std::string canonicalText(std::string_view text);
// The same, written over `out`: a caller that normalises path after path
// keeps one buffer.
void canonicalTextInto(std::string& out, std::string_view text);

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

template <typename Value>
using CanonicalMap =
    std::unordered_map<std::string, Value, CanonicalHash, CanonicalEqual>;

}  // namespace quorbitz
