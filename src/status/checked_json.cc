// SPDX-License-Identifier: Apache-2.0
#include "status/checked_json.h"

#include <algorithm>
#include <string>

namespace quorbitz {
namespace {

// One parser for the life of the thread keeps its buffers warm across the
// reloads of status.json.
ondemand::parser& threadParser() {
  thread_local ondemand::parser parser;
  return parser;
}

// The parser's own limit on nesting is only a promise its code relies on;
// skipValue refuses a document before the promise is broken.
constexpr size_t kParserNesting = kDeepestNesting + 2;

// The parser's buffers take about six bytes per byte of the largest document
// it has seen. Kept after a huge status.json, what was touched of them would
// stay with the file manager for the rest of its life.
constexpr size_t kLargestKeptParserCapacity = size_t{16} << 20;

void skipObject(ondemand::value& value, size_t nesting) {
  ondemand::object members = checked(value.get_object());
  for (auto entry : members) {
    ondemand::field member = checked(std::move(entry));
    keyText(member);
    skipValue(member.value(), nesting + 1);
  }
}

void skipArray(ondemand::value& value, size_t nesting) {
  ondemand::array items = checked(value.get_array());
  for (auto entry : items) {
    ondemand::value item = checked(std::move(entry));
    skipValue(item, nesting + 1);
  }
}

}  // namespace

std::string_view withoutByteOrderMark(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return bytes;
}

PaddedDocument::PaddedDocument(const std::string& bytes) : text_(withoutByteOrderMark(bytes)) {
  if (bytes.capacity() < bytes.size() + simdjson::SIMDJSON_PADDING) {
    copy_.reserve(text_.size() + simdjson::SIMDJSON_PADDING);
    copy_.assign(text_);
    text_ = copy_;
  }
}

ondemand::document iterateDocument(std::string_view text) {
  ondemand::parser& parser = threadParser();
  if (parser.capacity() < text.size() || parser.max_depth() != kParserNesting) {
    if (simdjson::error_code code = parser.allocate(text.size(), kParserNesting)) {
      throw InvalidJson{code};
    }
  }
  return checked(parser.iterate(text, text.size() + simdjson::SIMDJSON_PADDING));
}

void releaseLargeParserBuffers() {
  ondemand::parser& parser = threadParser();
  if (parser.capacity() > kLargestKeptParserCapacity) parser = ondemand::parser{};
}

// simdjson reads a lone value at the top of a document by rules of its own,
// looser than those for a value inside a container; inside an array the
// value is read as it would be anywhere else.
void checkDocument(std::string_view text) {
  std::string wrapped;
  wrapped.reserve(text.size() + 2 + simdjson::SIMDJSON_PADDING);
  wrapped.append("[").append(text).append("]");
  ondemand::document document = iterateDocument(wrapped);
  try {
    readLocated(document, wrapped, [&] {
      ondemand::array items = checked(document.get_array());
      size_t count = 0;
      for (auto entry : items) {
        ondemand::value item = checked(std::move(entry));
        if (++count > 1) throw InvalidJson{simdjson::TAPE_ERROR};
        skipValue(item, 0);
      }
      requireDocumentEnd(document);
    });
  } catch (InvalidJson& invalid) {
    // Counted in the caller's text, which lacks the opening "[".
    if (invalid.offset) invalid.offset = std::min(text.size(), *invalid.offset - (*invalid.offset > 0));
    throw;
  }
}

void skipValue(ondemand::value& value, size_t nesting) {
  if (nesting >= kDeepestNesting) throw InvalidJson{simdjson::DEPTH_ERROR};
  switch (typeOf(value)) {
    case ondemand::json_type::object:
      skipObject(value, nesting);
      break;
    case ondemand::json_type::array:
      skipArray(value, nesting);
      break;
    case ondemand::json_type::string:
      stringText(value);
      break;
    case ondemand::json_type::number:
      checkNumber(value);
      break;
    case ondemand::json_type::boolean:
      booleanOf(value);
      break;
    case ondemand::json_type::null:
      requireNull(value);
      break;
  }
}

void checkNumber(ondemand::value& value) {
  ondemand::number number;
  simdjson::error_code code = value.get_number().get(number);
  if (code && !isJsonNumber(value.raw_json_token())) throw InvalidJson{code};
}

bool isJsonNumber(std::string_view token) {
  size_t end = token.find_last_not_of(" \t\n\r");
  token = token.substr(0, end == std::string_view::npos ? 0 : end + 1);
  size_t at = 0;
  auto digits = [&] {
    size_t start = at;
    while (at < token.size() && token[at] >= '0' && token[at] <= '9') ++at;
    return at - start;
  };
  auto skip = [&](std::string_view any) {
    if (at < token.size() && any.find(token[at]) != std::string_view::npos) ++at;
  };
  skip("-");
  const size_t integerStart = at;
  const size_t integerDigits = digits();
  if (integerDigits == 0 || (integerDigits > 1 && token[integerStart] == '0')) return false;
  if (at < token.size() && token[at] == '.') {
    ++at;
    if (digits() == 0) return false;
  }
  if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
    ++at;
    skip("+-");
    if (digits() == 0) return false;
  }
  return at == token.size();
}

namespace {

// The bytes between a string value's quotes. The token reaches to the next
// structural character, so white space may follow the closing quote.
std::string_view quotedText(ondemand::value& value) {
  std::string_view token = value.raw_json_token();
  return token.substr(1, token.find_last_of('"') - 1);
}

}  // namespace

std::string_view stringText(ondemand::value& value) {
  std::string_view inner = quotedText(value);
  if (inner.find('\\') != std::string_view::npos) return checked(value.get_string());
  // Read past it all the same: simdjson skips a string left unread that a
  // colon follows as if it were a key, and would take "a":"b" for one value.
  checked(value.get_raw_json_string());
  return inner;
}

std::string_view transientStringText(ondemand::value& value, std::string& scratch) {
  std::string_view inner = quotedText(value);
  ondemand::raw_json_string raw = checked(value.get_raw_json_string());
  if (inner.find('\\') == std::string_view::npos) return inner;
  scratch.resize(inner.size() + simdjson::SIMDJSON_PADDING);
  auto* decoded = reinterpret_cast<uint8_t*>(scratch.data());
  return checked(threadParser().unescape(raw, decoded));
}

std::string_view keyText(ondemand::field& field) {
  return checked(field.unescaped_key());
}

// The atom errors are the ones a whole-document parse gives for a misspelt
// literal; On-Demand would only call it a value of another type.
bool booleanOf(ondemand::value& value) {
  bool flag = false;
  if (value.get_bool().get(flag)) {
    bool spellsTrue = value.raw_json_token().starts_with('t');
    throw InvalidJson{spellsTrue ? simdjson::T_ATOM_ERROR : simdjson::F_ATOM_ERROR};
  }
  return flag;
}

void requireNull(ondemand::value& value) {
  bool isNull = false;
  if (value.is_null().get(isNull) || !isNull) throw InvalidJson{simdjson::N_ATOM_ERROR};
}

void requireDocumentEnd(ondemand::document& document) {
  if (document.current_location().error() != simdjson::OUT_OF_BOUNDS) {
    throw InvalidJson{simdjson::TRAILING_CONTENT};
  }
}

}  // namespace quorbitz
