// SPDX-License-Identifier: Apache-2.0
// Decoding status.json into a Status.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>

#include "status/canonical_set.h"
#include "status/status.h"

namespace quorbitz {

// Spare capacity after the document's last byte that lets the decoder parse
// the bytes in place instead of copying them.
inline constexpr size_t kStatusDecodePadding = 64;

// Where in the text, both counted from 1; a column counts characters.
struct TextPosition {
  size_t line = 0;
  size_t column = 0;
  bool operator==(const TextPosition&) const = default;
};

struct DecodeError {
  // Names the failing field, e.g. "roots[1].can_lock: expected true or false".
  std::string description;
  // For a document that is not JSON, where the fault was found, when known.
  std::optional<TextPosition> position = std::nullopt;
};

using DecodeResult = std::variant<Status, DecodeError>;

// Accepts or rejects the whole document; the first error ends decoding.
// Never throws. When `bytes.capacity()` leaves kStatusDecodePadding spare
// bytes after the content, no copy of the document is made.
DecodeResult decodeStatus(const std::string& bytes);

// A root whose three lists went straight into sets, leaving its own empty.
struct IndexedRoot {
  RootStatus root;
  CanonicalSet keptLocal;
  CanonicalSet locked;
  CanonicalSet synced;
};

using IndexedDecodeResult = std::variant<std::vector<IndexedRoot>, DecodeError>;

// The same decoding for the extension's own use: a large project's paths
// go straight from the file's bytes into their sets, and the bytes are let
// go once decoded.
IndexedDecodeResult decodeStatusIndexed(std::string bytes);

}  // namespace quorbitz
