// SPDX-License-Identifier: Apache-2.0
#include "status/decoding_room.h"

#include <algorithm>
#include <cstring>

namespace quorbitz {
namespace {

constexpr size_t kIndexBytesPerEntry = 4;

bool isPunctuation(char c) {
  return c == '{' || c == '}' || c == '[' || c == ']' || c == ':' || c == ',';
}

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Just past the closing quote of the string whose opening quote is at
// `open`, or `end` when the string is never closed.
const char* pastString(const char* open, const char* end) {
  const char* at = open + 1;
  while (at < end) {
    const auto* quote =
        static_cast<const char*>(std::memchr(at, '"', static_cast<size_t>(end - at)));
    if (!quote) return end;
    const char* escapes = quote;
    while (escapes > open + 1 && escapes[-1] == '\\') --escapes;
    if ((quote - escapes) % 2 == 0) return quote + 1;
    at = quote + 1;
  }
  return end;
}

}  // namespace

size_t decodingRoom(std::string_view text, size_t enough) {
  const size_t enoughEntries = enough / kIndexBytesPerEntry;
  size_t entries = 0;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (at < end && entries <= enoughEntries) {
    char c = *at;
    if (isWhiteSpace(c)) {
      ++at;
      continue;
    }
    ++entries;
    if (c == '"') {
      at = pastString(at, end);
    } else if (isPunctuation(c)) {
      ++at;
    } else {
      while (at < end && !isPunctuation(*at) && !isWhiteSpace(*at) && *at != '"') ++at;
    }
  }
  return entries * kIndexBytesPerEntry;
}

bool tooDenseToDecode(std::string_view text) {
  if (text.size() * kIndexBytesPerEntry <= kRoomAlwaysAllowed) return false;
  const size_t allowed = std::max(text.size() / 4 * 3, kRoomAlwaysAllowed);
  return decodingRoom(text, allowed) > allowed;
}

}  // namespace quorbitz
