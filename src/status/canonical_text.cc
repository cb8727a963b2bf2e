// SPDX-License-Identifier: Apache-2.0
#include "status/canonical_text.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

#include <utf8proc.h>

namespace quorbitz {

bool isAscii(std::string_view text) {
  // Runs on every path hashed or compared, so it looks at 32 bytes a step
  // and covers the tail with one word that may overlap the last step.
  constexpr uint64_t kHighBits = 0x8080808080808080ULL;
  const char* bytes = text.data();
  const size_t size = text.size();
  size_t index = 0;
  for (; index + 32 <= size; index += 32) {
    uint64_t words[4];
    std::memcpy(words, bytes + index, sizeof words);
    if ((words[0] | words[1] | words[2] | words[3]) & kHighBits) return false;
  }
  for (; index + 8 <= size; index += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + index, sizeof word);
    if (word & kHighBits) return false;
  }
  if (index == size) return true;
  if (size >= 8) {
    uint64_t word;
    std::memcpy(&word, bytes + size - 8, sizeof word);
    return (word & kHighBits) == 0;
  }
  for (; index < size; ++index) {
    if (static_cast<unsigned char>(bytes[index]) & 0x80) return false;
  }
  return true;
}

bool isValidUtf8(std::string_view text) {
  if (isAscii(text)) return true;
  auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t codepoint;
    utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &codepoint);
    if (used <= 0) return false;
    bytes += used;
    left -= used;
  }
  return true;
}

std::string withInvalidUtf8Replaced(std::string_view text) {
  if (isValidUtf8(text)) return std::string(text);
  std::string result;
  auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t codepoint;
    utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &codepoint);
    if (used <= 0) {
      result += "\xEF\xBF\xBD";
      used = 1;
    } else {
      result.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(used));
    }
    bytes += used;
    left -= used;
  }
  return result;
}

namespace {

// NFC of `text`, or nullopt when it is not valid UTF-8.
std::optional<std::string> composed(std::string_view text) {
  utf8proc_uint8_t* result = nullptr;
  utf8proc_ssize_t length = utf8proc_map(
      reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
      static_cast<utf8proc_ssize_t>(text.size()), &result,
      static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
  if (length < 0) return std::nullopt;
  std::string normalised(reinterpret_cast<const char*>(result), static_cast<size_t>(length));
  std::free(result);
  return normalised;
}

// A Mac spells most accented Latin names as base letters each followed by
// one combining mark of U+0300..U+036F. Such a letter and mark compose the
// same wherever they stand, once what follows them is ASCII, so their NFC is
// looked up in a table filled pair by pair as pairs are met, and the general
// normaliser, most of a large status file's load, is left for the rest.
class LetterMarkPairs {
 public:
  // Appends the NFC of `name` and returns true when it is made only of ASCII
  // and such pairs; otherwise leaves `out` as it was and returns false.
  bool appendComposed(std::string& out, std::string_view name) {
    const size_t start = out.size();
    for (size_t index = 0; index < name.size(); ++index) {
      const auto byte = static_cast<unsigned char>(name[index]);
      if (byte < 0x80) {
        out += static_cast<char>(byte);
        continue;
      }
      const std::optional<size_t> pair =
          index == 0 ? std::nullopt : pairIndex(name.substr(index - 1));
      if (!pair) {
        out.resize(start);
        return false;
      }
      out.pop_back();  // the letter, composed with its mark below
      appendPacked(out, composedPair(*pair, name.substr(index - 1, 3)));
      index += 1;
    }
    return true;
  }

 private:
  static constexpr char32_t kFirstMark = 0x300;
  static constexpr size_t kMarks = 0x70;
  static constexpr size_t kLetters = 52;

  // The table slot of the letter and two-byte mark that `text` starts with,
  // when ASCII or nothing follows them.
  static std::optional<size_t> pairIndex(std::string_view text) {
    if (text.size() < 3) return std::nullopt;
    const auto letter = static_cast<unsigned char>(text[0]);
    const auto lead = static_cast<unsigned char>(text[1]);
    const auto trail = static_cast<unsigned char>(text[2]);
    if ((lead != 0xCC && lead != 0xCD) || (trail & 0xC0) != 0x80) return std::nullopt;
    if (text.size() > 3 && static_cast<unsigned char>(text[3]) >= 0x80) return std::nullopt;
    const char32_t mark = (char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu);
    if (mark < kFirstMark || mark >= kFirstMark + kMarks) return std::nullopt;
    size_t letterIndex;
    if (letter >= 'A' && letter <= 'Z') {
      letterIndex = letter - 'A';
    } else if (letter >= 'a' && letter <= 'z') {
      letterIndex = 26 + (letter - 'a');
    } else {
      return std::nullopt;
    }
    return letterIndex * kMarks + (mark - kFirstMark);
  }

  // A pair's NFC, at most 7 bytes (a mark may stand for two), packed with
  // its length in the lowest byte; 0 until the pair is first met. Threads
  // that meet a pair at once store the same value.
  uint64_t composedPair(size_t slot, std::string_view pair) {
    uint64_t packed = pairs_[slot].load(std::memory_order_relaxed);
    if (packed != 0) return packed;
    const std::optional<std::string> nfc = composed(pair);
    if (!nfc || nfc->empty() || nfc->size() > 7) return pack(pair);
    packed = pack(*nfc);
    pairs_[slot].store(packed, std::memory_order_relaxed);
    return packed;
  }
  static uint64_t pack(std::string_view bytes) {
    uint64_t packed = bytes.size();
    for (size_t index = 0; index < bytes.size() && index < 7; ++index) {
      packed |= uint64_t{static_cast<unsigned char>(bytes[index])} << (8 * (index + 1));
    }
    return packed;
  }
  static void appendPacked(std::string& out, uint64_t packed) {
    for (size_t index = 0; index < (packed & 0xFF); ++index) {
      out += static_cast<char>((packed >> (8 * (index + 1))) & 0xFF);
    }
  }

  std::atomic<uint64_t> pairs_[kLetters * kMarks] = {};
};

// The canonical spellings of the accented names met last, per thread. A
// file manager asks about every item it shows, and the folders on the way
// to them are the same few names request after request: normalising each
// again would be most of a badge request's own work.
class RecentNames {
 public:
  void appendCanonical(std::string& out, std::string_view name) {
    if (name.size() > kLongestKept) return appendComposed(out, name);
    Slot& slot = slots_[std::hash<std::string_view>{}(name) % kSlots];
    if (slot.name != name) {
      // Emptied first: an allocation failing half way leaves a slot that
      // matches no name rather than one with the wrong spelling.
      slot.name.clear();
      slot.canonical.clear();
      appendComposed(slot.canonical, name);
      slot.name.assign(name);
    }
    out += slot.canonical;
  }

 private:
  static constexpr size_t kSlots = 256;
  static constexpr size_t kLongestKept = 128;
  struct Slot {
    std::string name;
    std::string canonical;
  };

  // A name with stray bytes stays as it is.
  static void appendComposed(std::string& out, std::string_view name) {
    static LetterMarkPairs letterMarkPairs;
    if (letterMarkPairs.appendComposed(out, name)) return;
    std::optional<std::string> canonicalName = composed(name);
    out += canonicalName ? std::string_view(*canonicalName) : name;
  }

  Slot slots_[kSlots];
};

// Where the first byte that is not ASCII lies, or the text's size.
size_t firstNonAscii(std::string_view text) {
  constexpr uint64_t kHighBits = 0x8080808080808080ULL;
  const char* bytes = text.data();
  size_t index = 0;
  for (; index + 8 <= text.size(); index += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + index, sizeof word);
    if (word & kHighBits) break;
  }
  while (index < text.size() && !(static_cast<unsigned char>(bytes[index]) & 0x80)) ++index;
  return index;
}

}  // namespace

void canonicalTextInto(std::string& out, std::string_view text) {
  const size_t wide = firstNonAscii(text);
  if (wide == text.size()) {
    out.assign(text);
    return;
  }
  // Name by name: "/" composes with nothing, so the names' canonical
  // spellings joined are the path's. The names before the first that is not
  // ASCII are copied in one piece, only the names that need it go through
  // the normaliser (a long path usually has one accented name, near its
  // end), and a name with stray bytes stays as it is without keeping the
  // others from their canonical spelling.
  thread_local RecentNames recentNames;
  size_t start = text.rfind('/', wide);
  start = start == std::string_view::npos ? 0 : start + 1;
  out.clear();
  out.reserve(text.size());
  out.append(text.substr(0, start));
  while (true) {
    size_t slash = text.find('/', start);
    std::string_view name = text.substr(start, slash - start);
    if (isAscii(name)) {
      out += name;
    } else {
      recentNames.appendCanonical(out, name);
    }
    if (slash == std::string_view::npos) return;
    out += '/';
    start = slash + 1;
  }
}

std::string canonicalText(std::string_view text) {
  std::string result;
  canonicalTextInto(result, text);
  return result;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
  if (a == b) return true;
  if (isAscii(a) && isAscii(b)) return false;
  return canonicalText(a) == canonicalText(b);
}

size_t CanonicalHash::operator()(std::string_view text) const {
  if (isAscii(text)) return std::hash<std::string_view>{}(text);
  return std::hash<std::string>{}(canonicalText(text));
}

}  // namespace quorbitz
