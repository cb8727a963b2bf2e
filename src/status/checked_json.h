// SPDX-License-Identifier: Apache-2.0
// Reading a document with simdjson On-Demand while checking every value on
// the way, so that a document is accepted exactly when a whole-document parse
// would accept it. On-Demand by itself checks only the values it is asked
// for; a status file with a broken value in a member nobody reads must still
// be rejected as a whole.
#pragma once

#include <simdjson.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quorbitz {

namespace ondemand = simdjson::ondemand;

// Thrown while reading when the document is not JSON at all; the decoder
// turns it into its one error for the whole document. A value of the wrong
// type is no such fault and is the reader's to word.
struct InvalidJson {
  simdjson::error_code code;
  // Bytes into the text where the fault was found, once a reader knows.
  std::optional<size_t> offset = std::nullopt;
};

template <typename T>
T checked(simdjson::simdjson_result<T>&& result) {
  T value;
  if (simdjson::error_code code = std::move(result).get(value)) throw InvalidJson{code};
  return value;
}

// `bytes` without a leading UTF-8 byte order mark, which writers on some
// systems put before JSON.
std::string_view withoutByteOrderMark(std::string_view bytes);

// A document's text without a leading byte order mark, followed by the
// padding simdjson reads past it: in place when the bytes have the spare
// capacity, else in a copy.
class PaddedDocument {
 public:
  explicit PaddedDocument(const std::string& bytes);
  std::string_view text() const { return text_; }

 private:
  std::string copy_;
  std::string_view text_;
};

// Starts reading `text` with this thread's parser, whose buffers stay for
// the next document. SIMDJSON_PADDING readable bytes must follow the text,
// and the text must outlive the reading: strings are read from it in place.
ondemand::document iterateDocument(std::string_view text);

// Lets the thread's parser go when the largest document it has read was
// large; a small one's buffers are kept.
void releaseLargeParserBuffers();

// Calls `read` on the document; a fault that `read` meets is given the
// document's position in `text` (if it has none yet) on its way out.
template <typename Read>
auto readLocated(ondemand::document& document, std::string_view text, Read read) {
  try {
    return read();
  } catch (InvalidJson& invalid) {
    const char* at = nullptr;
    if (!invalid.offset && document.current_location().get(at) == simdjson::SUCCESS &&
        at >= text.data() && at <= text.data() + text.size()) {
      invalid.offset = static_cast<size_t>(at - text.data());
    }
    throw;
  }
}

// Checks that `text`, of any length, is one JSON value and nothing more.
// For a document whose top value the caller has no use for.
void checkDocument(std::string_view text);

inline ondemand::json_type typeOf(ondemand::value& value) {
  return checked(value.type());
}

// A whole-document parse refuses a document whose containers nest this deep;
// the count starts at 1 for the members of the top value, and an empty
// container does not count.
inline constexpr size_t kDeepestNesting = simdjson::DEFAULT_MAX_DEPTH;

// Checks `value` and everything inside it. `nesting` is the number of
// non-empty containers around it.
void skipValue(ondemand::value& value, size_t nesting);

// Checks a number value. Any number JSON allows is accepted, also one that
// simdjson cannot hold (an integer beyond 64 bits, 1e400): the main
// application's own data may carry such numbers, and only the members the
// decoder reads have to fit.
void checkNumber(ondemand::value& value);

// Whether `token` (trailing white space allowed) is a number as JSON spells
// it: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(std::string_view token);

// The text of a string value. Without a backslash it is the bytes between
// the quotes, straight from the document, since simdjson has checked their
// UTF-8 before reading starts; only a string with escapes is decoded into
// the parser's buffer.
std::string_view stringText(ondemand::value& value);

// stringText for a value used at once: a string with escapes is decoded into
// `scratch`, not into the parser's buffer, which would keep a copy of every
// such string of a long list until the whole document is read. The text is
// valid until `scratch` is used again.
std::string_view transientStringText(ondemand::value& value, std::string& scratch);

std::string_view keyText(ondemand::field& field);

bool booleanOf(ondemand::value& value);
void requireNull(ondemand::value& value);

// Once the top value is read: nothing but white space may follow it.
void requireDocumentEnd(ondemand::document& document);

}  // namespace quorbitz
