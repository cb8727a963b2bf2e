// SPDX-License-Identifier: Apache-2.0
#include "status/status_decoder.h"

#include <simdjson.h>
#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "status/checked_json.h"
#include "status/decoding_room.h"

namespace quorbitz {
namespace {

static_assert(kStatusDecodePadding >= simdjson::SIMDJSON_PADDING,
              "a caller's padding must be enough for simdjson to parse in place");

constexpr std::string_view kDocumentPath = "(document)";

// Where the decoder's own values lie, counted as skipValue counts.
constexpr size_t kTopMemberNesting = 1;
constexpr size_t kRootNesting = 2;
constexpr size_t kRootMemberNesting = 3;

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

std::string memberPath(const std::string& owner, std::string_view key) {
  if (owner.empty()) return std::string(key);
  return owner + "." + std::string(key);
}

// One value the decoder reads, with the path its failures are named by.
struct Member {
  ondemand::value& value;
  std::string path;
  size_t nesting;

  ondemand::json_type type() { return typeOf(value); }

  // Not what the member must hold; the value is still checked as JSON, since
  // a broken document reports that before any field.
  DecodeError wrong(std::string_view expected) {
    skipValue(value, nesting);
    return wrongType(path, expected);
  }
};

// A JSON number is an integer for us whatever its spelling (1.0, -0.0), as
// long as its value is whole and fits; simdjson keeps such spellings as
// doubles. On-Demand (simdjson 3.0.1) misreads the value of a number of more
// than 19 significant digits, though it judges its syntax right, so the
// token is read again by the whole-document parser. A number that neither
// can hold (beyond 64 bits, 1e400) is JSON all the same: it fits no integer.
std::optional<int64_t> wholeInt64(ondemand::value& value) {
  checkNumber(value);
  std::string_view token = value.raw_json_token();
  simdjson::dom::parser parser;
  simdjson::dom::element number;
  if (parser.parse(token.data(), token.size()).get(number)) return std::nullopt;
  int64_t signedValue = 0;
  double doubleValue = 0;
  if (number.get_int64().get(signedValue) == simdjson::SUCCESS) return signedValue;
  if (!number.is_double() || number.get_double().get(doubleValue)) return std::nullopt;
  constexpr double kTwoToThe63 = 9223372036854775808.0;
  if (std::trunc(doubleValue) != doubleValue) return std::nullopt;
  if (doubleValue < -kTwoToThe63 || doubleValue >= kTwoToThe63) return std::nullopt;
  return static_cast<int64_t>(doubleValue);
}

Failure readInteger(Member& member, int64_t& out) {
  constexpr std::string_view kExpected = "an integer that fits in 64 bits";
  if (member.type() != ondemand::json_type::number) return member.wrong(kExpected);
  std::optional<int64_t> whole = wholeInt64(member.value);
  if (!whole) return wrongType(member.path, kExpected);
  out = *whole;
  return std::nullopt;
}

Failure readString(Member& member, std::string& out) {
  if (member.type() != ondemand::json_type::string) return member.wrong("a string");
  out.assign(stringText(member.value));
  return std::nullopt;
}

Failure readBoolean(Member& member, bool& out) {
  if (member.type() != ondemand::json_type::boolean) return member.wrong("true or false");
  out = booleanOf(member.value);
  return std::nullopt;
}

Failure readOptionalBoolean(Member& member, std::optional<bool>& out) {
  switch (member.type()) {
    case ondemand::json_type::null:
      requireNull(member.value);
      return std::nullopt;
    case ondemand::json_type::boolean:
      out = booleanOf(member.value);
      return std::nullopt;
    default:
      return member.wrong("true, false or null");
  }
}

// Takes the strings of a list or a map until a value is not a string; from
// then on the values are only checked, and that first failure stays.
class StringsUntilFailure {
 public:
  explicit StringsUntilFailure(size_t nesting) : nesting_(nesting) {}

  // `failedPath` names the value should it not be a string.
  std::optional<std::string_view> next(ondemand::value& value, auto failedPath) {
    if (!failure_ && typeOf(value) == ondemand::json_type::string)
      return transientStringText(value, scratch_);
    if (!failure_) failure_ = wrongType(failedPath(), "a string");
    skipValue(value, nesting_);
    return std::nullopt;
  }

  Failure failure() && { return std::move(failure_); }

 private:
  size_t nesting_;
  Failure failure_;
  std::string scratch_;
};

void add(std::vector<std::string>& list, std::string_view text) {
  list.emplace_back(text);
}
void add(CanonicalSet& set, std::string_view text) { set.insert(text); }

// Room reserved for set entries before they are read, shared by all the
// sets of one document. A set is reserved up front so that one of millions
// of paths never grows by doubling; but the count comes before the entries
// are checked, and a list of a million zeros or of one short path repeated
// builds almost nothing, while a set's table is written as it is made. So
// the whole document reserves no more entries than one per
// kDocumentBytesPerReservedEntry of its bytes (a real path takes more than
// that), and a set beyond it grows as it is read.
class Reservations {
 public:
  static constexpr size_t kDocumentBytesPerReservedEntry = 32;
  explicit Reservations(size_t documentBytes)
      : left_(documentBytes / kDocumentBytesPerReservedEntry) {}

  size_t take(size_t wanted) {
    size_t granted = std::min(wanted, left_);
    left_ -= granted;
    return granted;
  }

 private:
  size_t left_;
};

// A vector's capacity is only address space until it is filled, and the
// document's density bounds the count, so a list is reserved whole: growing
// by doubling would hold the old copy and the new at once.
void reserve(std::vector<std::string>& list, size_t count, Reservations&) {
  list.reserve(count);
}
void reserve(CanonicalSet& set, size_t count, Reservations& reservations) {
  set.reserve(reservations.take(count));
}

// Into a vector of the texts, or straight into a set of them.
template <typename List>
Failure readStringList(Member& member, List& out, Reservations& reservations) {
  if (member.type() != ondemand::json_type::array) return member.wrong("an array");
  ondemand::array items = checked(member.value.get_array());
  reserve(out, checked(items.count_elements()), reservations);
  StringsUntilFailure strings(member.nesting + 1);
  size_t index = 0;
  for (auto entry : items) {
    ondemand::value item = checked(std::move(entry));
    auto path = [&] { return indexed(member.path, index); };
    if (std::optional<std::string_view> text = strings.next(item, path)) add(out, *text);
    ++index;
  }
  return std::move(strings).failure();
}

Failure readRoles(Member& member,
                  std::optional<std::map<std::string, std::string>>& out) {
  switch (member.type()) {
    case ondemand::json_type::null:
      requireNull(member.value);
      return std::nullopt;
    case ondemand::json_type::object:
      break;
    default:
      return member.wrong("an object or null");
  }
  ondemand::object roles = checked(member.value.get_object());
  std::map<std::string, std::string> entries;
  StringsUntilFailure strings(member.nesting + 1);
  for (auto entry : roles) {
    ondemand::field role = checked(std::move(entry));
    std::string name(keyText(role));
    // Of repeated keys the first counts, here as in every object: a later
    // one is only checked as JSON, whatever it holds. Until the first
    // failure every key read so far is an entry.
    if (entries.contains(name)) {
      skipValue(role.value(), member.nesting + 1);
      continue;
    }
    auto path = [&] { return memberPath(member.path, name); };
    if (std::optional<std::string_view> text = strings.next(role.value(), path)) {
      entries.emplace(std::move(name), *text);
    }
  }
  Failure failure = std::move(strings).failure();
  if (!failure) out = std::move(entries);
  return failure;
}

// The members of an object that the decoder reads, by key, in the order
// that decides which failure a document with several reports. The first
// `required` must be present.
template <size_t N>
struct KnownKeys {
  std::array<std::string_view, N> keys;
  size_t required;

  size_t indexOf(std::string_view key) const {
    size_t index = 0;
    while (index < N && keys[index] != key) ++index;
    return index;
  }
};

// Walks the object's members once, in document order: each known key's
// first occurrence goes to `read`, with its index; everything else is only
// checked. Of the failures, the first in key order is the object's.
template <size_t N, typename Read>
Failure readMembers(ondemand::object& object, const KnownKeys<N>& known,
                    const std::string& owner, size_t nesting, Read read) {
  std::array<bool, N> seen{};
  std::array<Failure, N> failures;
  for (auto entry : object) {
    ondemand::field field = checked(std::move(entry));
    size_t index = known.indexOf(keyText(field));
    if (index == N || seen[index]) {
      skipValue(field.value(), nesting);
      continue;
    }
    seen[index] = true;
    Member member{field.value(), memberPath(owner, known.keys[index]), nesting};
    failures[index] = read(index, member);
  }
  for (size_t index = 0; index < N; ++index) {
    if (!seen[index] && index < known.required) {
      return DecodeError{memberPath(owner, known.keys[index]) + ": missing"};
    }
    if (failures[index]) return std::move(failures[index]);
  }
  return std::nullopt;
}

enum RootKey : size_t {
  kPath,
  kDirection,
  kLabel,
  kLink,
  kCanLock,
  kKeptLocal,
  kLocked,
  kSynced,
  kRootLocked,
  kCanMintLinks,
  kRoles,
};

// Every key before root_locked is required.
constexpr KnownKeys<11> kRootKeys{
    {"path", "direction", "label", "link", "can_lock", "kept_local", "locked", "synced",
     "root_locked", "can_mint_links", "roles"},
    kRootLocked};
static_assert(kRootKeys.keys[kRoles] == "roles" && kRoles + 1 == kRootKeys.keys.size());

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

template <typename Root>
Failure readRootMember(RootKey key, Member& member, Root& decoded,
                       Reservations& reservations) {
  RootStatus& root = statusOf(decoded);
  auto lists = listsOf(decoded);
  switch (key) {
    case kPath:
      return readString(member, root.path);
    case kDirection:
      return readString(member, root.direction);
    case kLabel:
      return readString(member, root.label);
    case kLink:
      return readString(member, root.link);
    case kCanLock:
      return readBoolean(member, root.canLock);
    case kKeptLocal:
      return readStringList(member, lists.keptLocal, reservations);
    case kLocked:
      return readStringList(member, lists.locked, reservations);
    case kSynced:
      return readStringList(member, lists.synced, reservations);
    case kRootLocked:
      return readOptionalBoolean(member, root.rootLocked);
    case kCanMintLinks:
      return readOptionalBoolean(member, root.canMintLinks);
    case kRoles:
      return readRoles(member, root.roles);
  }
  return std::nullopt;
}

template <typename Root>
Failure readRoot(Member& member, Root& decoded, Reservations& reservations) {
  if (member.type() != ondemand::json_type::object) return member.wrong("an object");
  ondemand::object object = checked(member.value.get_object());
  return readMembers(object, kRootKeys, member.path, kRootMemberNesting,
                     [&](size_t key, Member& field) {
                       return readRootMember(static_cast<RootKey>(key), field, decoded,
                                             reservations);
                     });
}

// After the first root that fails, the others are only checked.
template <typename Root>
Failure readRoots(Member& member, std::vector<Root>& roots, Reservations& reservations) {
  if (member.type() != ondemand::json_type::array) return member.wrong("an array");
  ondemand::array items = checked(member.value.get_array());
  Failure failure;
  for (auto entry : items) {
    ondemand::value item = checked(std::move(entry));
    if (failure) {
      skipValue(item, kRootNesting);
      continue;
    }
    Member root{item, indexed(member.path, roots.size()), kRootNesting};
    failure = readRoot(root, roots.emplace_back(), reservations);
  }
  return failure;
}

enum TopKey : size_t { kVersion, kRoots };

constexpr KnownKeys<2> kTopKeys{{"version", "roots"}, 2};

template <typename Root>
using RootsOrError = std::variant<std::vector<Root>, DecodeError>;

template <typename Root>
RootsOrError<Root> readTop(ondemand::document& document, size_t documentBytes,
                           int64_t& version) {
  ondemand::object top = checked(document.get_object());
  std::vector<Root> roots;
  Reservations reservations(documentBytes);
  Failure failure =
      readMembers(top, kTopKeys, "", kTopMemberNesting, [&](size_t key, Member& member) {
        return key == kVersion ? readInteger(member, version)
                               : readRoots(member, roots, reservations);
      });
  requireDocumentEnd(document);
  if (failure) return *std::move(failure);
  return roots;
}

template <typename Root>
RootsOrError<Root> decodeText(std::string_view text, int64_t& version) {
  ondemand::document document = iterateDocument(text);
  if (readLocated(document, text, [&] { return checked(document.type()); }) ==
      ondemand::json_type::object) {
    return readLocated(document, text,
                       [&] { return readTop<Root>(document, text.size(), version); });
  }
  checkDocument(text);
  return wrongType(std::string(kDocumentPath), "an object");
}

DecodeError outOfMemory() {
  return DecodeError{std::string(kDocumentPath) + ": too large to decode in memory"};
}

DecodeError tooDense() {
  return DecodeError{std::string(kDocumentPath) +
                     ": too many values for its size to decode in memory"};
}

// Where simdjson's first pass over the whole text fails, before any reading
// that knows its place: the first bad byte, or the end of a text that ends
// inside a string.
std::optional<size_t> firstPassFault(simdjson::error_code code, std::string_view text) {
  if (code == simdjson::UNCLOSED_STRING) return text.size();
  if (code == simdjson::UTF8_ERROR) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    for (size_t at = 0; at < text.size();) {
      utf8proc_int32_t codePoint = 0;
      utf8proc_ssize_t length = utf8proc_iterate(
          bytes + at, static_cast<utf8proc_ssize_t>(text.size() - at), &codePoint);
      if (length <= 0) return at;
      at += static_cast<size_t>(length);
    }
  }
  if (code == simdjson::UNESCAPED_CHARS) {
    auto control = std::find_if(text.begin(), text.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
    if (control != text.end()) return static_cast<size_t>(control - text.begin());
  }
  return std::nullopt;
}

TextPosition positionIn(std::string_view text, size_t offset) {
  TextPosition position{1, 1};
  for (char byte : text.substr(0, offset)) {
    if (byte == '\n') {
      ++position.line;
      position.column = 1;
    } else if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
      ++position.column;
    }
  }
  return position;
}

// The words are those of a whole-document parse: On-Demand's own codes for a
// document that ends early or goes on after its value are, to it, an
// improper structure.
DecodeError notValidJson(const InvalidJson& invalid, std::string_view text) {
  simdjson::error_code code = invalid.code;
  if (code == simdjson::MEMALLOC) return outOfMemory();
  std::optional<size_t> offset = invalid.offset ? invalid.offset : firstPassFault(code, text);
  if (code == simdjson::INCOMPLETE_ARRAY_OR_OBJECT ||
      code == simdjson::TRAILING_CONTENT) {
    code = simdjson::TAPE_ERROR;
  }
  DecodeError error{std::string(kDocumentPath) + ": not valid JSON (" +
                    simdjson::error_message(code) + ")"};
  if (offset) error.position = positionIn(text, std::min(*offset, text.size()));
  return error;
}

// Parses `bytes` and decodes the document into roots of type Root, reading
// strings from `bytes` in place unless it lacks the spare capacity.
template <typename Root>
RootsOrError<Root> decodeDocument(const std::string& bytes, int64_t& version) {
  std::string_view text = withoutByteOrderMark(bytes);
  if (tooDenseToDecode(text)) return tooDense();
  RootsOrError<Root> result = DecodeError{};
  try {
    PaddedDocument document(bytes);
    result = decodeText<Root>(document.text(), version);
  } catch (const InvalidJson& invalid) {
    result = notValidJson(invalid, text);
  } catch (const std::bad_alloc&) {
    result = outOfMemory();
  }
  releaseLargeParserBuffers();
  return result;
}

}  // namespace

DecodeResult decodeStatus(const std::string& bytes) {
  Status status;
  auto roots = decodeDocument<RootStatus>(bytes, status.version);
  if (auto* error = std::get_if<DecodeError>(&roots)) return std::move(*error);
  status.roots = std::get<std::vector<RootStatus>>(std::move(roots));
  return status;
}

IndexedDecodeResult decodeStatusIndexed(std::string bytes) {
  int64_t version = 0;
  return decodeDocument<IndexedRoot>(bytes, version);
}

}  // namespace quorbitz
