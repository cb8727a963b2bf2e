// SPDX-License-Identifier: Apache-2.0
#include "status/status_decoder.h"

#include <simdjson.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorbitz {
namespace {

namespace dom = simdjson::dom;

static_assert(kStatusDecodePadding >= simdjson::SIMDJSON_PADDING,
              "a caller's padding must be enough for simdjson to parse in place");

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kDocumentPath = "(document)";

using Failure = std::optional<DecodeError>;

// The description names the field and what it must hold, e.g.
// "roots[1].can_lock: expected true or false".
DecodeError wrongType(std::string path, std::string_view expected) {
  path.append(": expected ").append(expected);
  return DecodeError{std::move(path)};
}

std::string indexed(std::string path, size_t index) {
  return path.append("[").append(std::to_string(index)).append("]");
}

// A JSON number is an integer for us whatever its spelling (1.0, -0.0), as
// long as its value is whole and fits; simdjson keeps such spellings as doubles.
std::optional<int64_t> wholeInt64(dom::element element) {
  int64_t signedValue = 0;
  double doubleValue = 0;
  if (element.get_int64().get(signedValue) == simdjson::SUCCESS) return signedValue;
  if (!element.is_double() || element.get_double().get(doubleValue)) return std::nullopt;
  constexpr double kTwoToThe63 = 9223372036854775808.0;
  if (std::trunc(doubleValue) != doubleValue) return std::nullopt;
  if (doubleValue < -kTwoToThe63 || doubleValue >= kTwoToThe63) return std::nullopt;
  return static_cast<int64_t>(doubleValue);
}

void add(std::vector<std::string>& list, std::string_view text) { list.emplace_back(text); }
void add(CanonicalSet& set, std::string_view text) { set.insert(text); }

// Reads the members of one JSON object, naming each failing field by its path
// below `owner` (empty for the top level).
class FieldReader {
 public:
  FieldReader(dom::object object, std::string owner)
      : object_(object), owner_(std::move(owner)) {}

  Failure required(std::string_view key, dom::element& value) const {
    if (object_.at_key(key).get(value) != simdjson::SUCCESS) {
      return DecodeError{pathOf(key) + ": missing"};
    }
    return std::nullopt;
  }

  Failure integer(std::string_view key, int64_t& out) const {
    dom::element value;
    if (auto failure = required(key, value)) return failure;
    std::optional<int64_t> whole = wholeInt64(value);
    if (!whole) {
      constexpr std::string_view kExpected = "an integer that fits in 64 bits";
      return wrongType(pathOf(key), kExpected);
    }
    out = *whole;
    return std::nullopt;
  }

  Failure string(std::string_view key, std::string& out) const {
    dom::element value;
    if (auto failure = required(key, value)) return failure;
    std::string_view text;
    if (value.get_string().get(text)) return wrongType(pathOf(key), "a string");
    out.assign(text);
    return std::nullopt;
  }

  Failure boolean(std::string_view key, bool& out) const {
    dom::element value;
    if (auto failure = required(key, value)) return failure;
    if (value.get_bool().get(out)) return wrongType(pathOf(key), "true or false");
    return std::nullopt;
  }

  // Into a vector of the texts, or straight into a set of them.
  template <typename List>
  Failure stringList(std::string_view key, List& out) const {
    dom::element value;
    if (auto failure = required(key, value)) return failure;
    dom::array items;
    if (value.get_array().get(items)) return wrongType(pathOf(key), "an array");
    out.reserve(items.size());
    size_t index = 0;
    for (dom::element item : items) {
      std::string_view text;
      if (item.get_string().get(text)) {
        return wrongType(indexed(pathOf(key), index), "a string");
      }
      add(out, text);
      ++index;
    }
    return std::nullopt;
  }

  Failure optionalBoolean(std::string_view key, std::optional<bool>& out) const {
    dom::element value;
    if (!optional(key, value)) return std::nullopt;
    bool flag = false;
    if (value.get_bool().get(flag)) {
      return wrongType(pathOf(key), "true, false or null");
    }
    out = flag;
    return std::nullopt;
  }

  Failure optionalStringMap(
      std::string_view key,
      std::optional<std::map<std::string, std::string>>& out) const {
    dom::element value;
    if (!optional(key, value)) return std::nullopt;
    dom::object members;
    if (value.get_object().get(members)) {
      return wrongType(pathOf(key), "an object or null");
    }
    std::map<std::string, std::string> entries;
    for (dom::key_value_pair member : members) {
      std::string_view text;
      if (member.value.get_string().get(text)) {
        return wrongType(pathOf(key) + "." + std::string(member.key), "a string");
      }
      // try_emplace keeps the first of duplicate keys, as lookups elsewhere do.
      entries.try_emplace(std::string(member.key), text);
    }
    out = std::move(entries);
    return std::nullopt;
  }

 private:
  bool optional(std::string_view key, dom::element& value) const {
    return object_.at_key(key).get(value) == simdjson::SUCCESS && !value.is_null();
  }

  std::string pathOf(std::string_view key) const {
    if (owner_.empty()) return std::string(key);
    return owner_ + "." + std::string(key);
  }

  dom::object object_;
  std::string owner_;
};

// The three lists of a root, wherever the caller wants them.
template <typename List>
struct RootLists {
  List& keptLocal;
  List& locked;
  List& synced;
};

RootLists<std::vector<std::string>> listsOf(RootStatus& root) {
  return {root.keptLocal, root.locked, root.synced};
}

RootLists<CanonicalSet> listsOf(IndexedRoot& root) {
  return {root.keptLocal, root.locked, root.synced};
}

RootStatus& statusOf(RootStatus& root) { return root; }
RootStatus& statusOf(IndexedRoot& indexed) { return indexed.root; }

// The order of the reads decides which error a document with several reports.
template <typename Root>
Failure decodeRoot(const FieldReader& fields, Root& decoded) {
  RootStatus& root = statusOf(decoded);
  auto lists = listsOf(decoded);
  if (auto failure = fields.string("path", root.path)) return failure;
  if (auto failure = fields.string("direction", root.direction)) return failure;
  if (auto failure = fields.string("label", root.label)) return failure;
  if (auto failure = fields.string("link", root.link)) return failure;
  if (auto failure = fields.boolean("can_lock", root.canLock)) return failure;
  if (auto failure = fields.stringList("kept_local", lists.keptLocal)) return failure;
  if (auto failure = fields.stringList("locked", lists.locked)) return failure;
  if (auto failure = fields.stringList("synced", lists.synced)) return failure;
  if (auto failure = fields.optionalBoolean("root_locked", root.rootLocked)) {
    return failure;
  }
  if (auto failure = fields.optionalBoolean("can_mint_links", root.canMintLinks)) {
    return failure;
  }
  return fields.optionalStringMap("roles", root.roles);
}

template <typename Root>
Failure decodeRoots(const FieldReader& top, std::vector<Root>& roots) {
  dom::element value;
  if (auto failure = top.required("roots", value)) return failure;
  dom::array items;
  if (value.get_array().get(items)) return wrongType("roots", "an array");
  roots.reserve(items.size());
  for (dom::element item : items) {
    std::string owner = indexed("roots", roots.size());
    dom::object members;
    if (item.get_object().get(members)) return wrongType(owner, "an object");
    FieldReader fields(members, std::move(owner));
    if (auto failure = decodeRoot(fields, roots.emplace_back())) return failure;
  }
  return std::nullopt;
}

// One parser for the life of the thread keeps its buffers warm across the
// reloads of status.json.
dom::parser& threadParser() {
  thread_local dom::parser parser;
  return parser;
}

// The parser's buffers take about fourteen bytes per byte of the largest
// document it has seen. Kept after a huge status.json, they would stay with
// the file manager for the rest of its life.
constexpr size_t kLargestKeptParserCapacity = size_t{16} << 20;

void releaseLargeParserBuffers() {
  dom::parser& parser = threadParser();
  if (parser.capacity() > kLargestKeptParserCapacity) parser = dom::parser{};
}

std::optional<DecodeError> parseDocument(std::string_view text, bool hasPadding,
                                         dom::object& top) {
  dom::parser& parser = threadParser();
  dom::element document;
  simdjson::error_code error =
      parser.parse(text.data(), text.size(), !hasPadding).get(document);
  if (error) {
    return DecodeError{std::string(kDocumentPath) + ": not valid JSON (" +
                       simdjson::error_message(error) + ")"};
  }
  if (document.get_object().get(top)) {
    return wrongType(std::string(kDocumentPath), "an object");
  }
  return std::nullopt;
}

template <typename Root>
std::variant<std::vector<Root>, DecodeError> decodeFields(dom::object top,
                                                          int64_t& version) {
  FieldReader fields(top, "");
  if (auto failure = fields.integer("version", version)) return *std::move(failure);
  std::vector<Root> roots;
  if (auto failure = decodeRoots(fields, roots)) return *std::move(failure);
  return roots;
}

// The text without a leading byte order mark, and whether the spare
// capacity after it lets simdjson parse it in place. The mark is at the
// front, so skipping it leaves the spare bytes usable.
std::pair<std::string_view, bool> documentText(const std::string& bytes) {
  std::string_view text = bytes;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return {text, bytes.capacity() >= bytes.size() + simdjson::SIMDJSON_PADDING};
}

DecodeError outOfMemory() {
  return DecodeError{std::string(kDocumentPath) + ": too large to decode in memory"};
}

template <typename Root>
using RootsOrError = std::variant<std::vector<Root>, DecodeError>;

// Parses `bytes` and decodes the document into roots of type Root. With
// `release` (the same string as `bytes`), the file's bytes are freed once
// parsed: the parsed document holds copies of every string.
template <typename Root>
RootsOrError<Root> decodeDocument(const std::string& bytes, int64_t& version,
                                  std::string* release) {
  RootsOrError<Root> result = DecodeError{};
  try {
    auto [text, hasPadding] = documentText(bytes);
    dom::object top;
    if (auto failure = parseDocument(text, hasPadding, top)) {
      result = *std::move(failure);
    } else {
      if (release) *release = std::string();
      result = decodeFields<Root>(top, version);
    }
  } catch (const std::bad_alloc&) {
    result = outOfMemory();
  }
  releaseLargeParserBuffers();
  return result;
}

}  // namespace

DecodeResult decodeStatus(const std::string& bytes) {
  Status status;
  auto roots = decodeDocument<RootStatus>(bytes, status.version, nullptr);
  if (auto* error = std::get_if<DecodeError>(&roots)) return std::move(*error);
  status.roots = std::get<std::vector<RootStatus>>(std::move(roots));
  return status;
}

IndexedDecodeResult decodeStatusIndexed(std::string bytes) {
  int64_t version = 0;
  return decodeDocument<IndexedRoot>(bytes, version, &bytes);
}

}  // namespace quorbitz
