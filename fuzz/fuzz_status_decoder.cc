// SPDX-License-Identifier: Apache-2.0
// status.json comes from another process that can crash half-way through a
// write, so any bytes at all must decode to a Status or an error. The
// decoder parses in place when the caller leaves padding and copies
// otherwise; both ways, and a leading byte-order mark, must agree. It reads
// only the values it needs yet must refuse a document that is not JSON
// anywhere, exactly as a whole-document parse does, except that a number no
// 64-bit type holds is JSON to the decoder and not to that parse.
#include <simdjson.h>

#include <regex>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "status/status_decoder.h"

namespace {

using quorbitz::DecodeError;
using quorbitz::DecodeResult;

bool sameResult(const DecodeResult& a, const DecodeResult& b) {
  if (a.index() != b.index()) return false;
  if (const auto* error = std::get_if<DecodeError>(&a)) {
    return error->description == std::get<DecodeError>(b).description;
  }
  return std::get<quorbitz::Status>(a) == std::get<quorbitz::Status>(b);
}

void requireSame(const DecodeResult& a, const DecodeResult& b, const char* what) {
  if (sameResult(a, b)) return;
  std::fprintf(stderr, "decoding disagrees: %s\n", what);
  std::abort();
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool refusedAsNotJson(const DecodeResult& result) {
  const auto* error = std::get_if<DecodeError>(&result);
  return error && error->description.starts_with("(document): not valid JSON");
}

bool wholeDocumentParses(std::string_view bytes) {
  static simdjson::dom::parser parser;
  simdjson::dom::element document;
  return parser.parse(bytes.data(), bytes.size()).get(document) == simdjson::SUCCESS;
}

// Every run of number characters that stands alone (between structural
// characters or white space) and is spelt as JSON spells a number becomes 0.
// Outside strings that keeps a number a number; inside one, a string.
std::string smallNumbers(std::string_view bytes) {
  static const std::regex kNumber(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)");
  auto boundary = [](char c) { return std::string_view(" \t\n\r,:[]{}").find(c) != std::string_view::npos; };
  auto numeric = [](char c) { return std::string_view("+-.eE0123456789").find(c) != std::string_view::npos; };
  std::string out;
  for (size_t at = 0; at < bytes.size();) {
    size_t end = at;
    while (end < bytes.size() && numeric(bytes[end])) ++end;
    const bool alone = end > at && (at == 0 || boundary(bytes[at - 1])) &&
                       (end == bytes.size() || boundary(bytes[end]));
    if (alone && std::regex_match(bytes.begin() + at, bytes.begin() + end, kNumber)) {
      out += '0';
    } else {
      out.append(bytes.substr(at, std::max(end, at + 1) - at));
    }
    at = std::max(end, at + 1);
  }
  return out;
}

bool isJson(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  return wholeDocumentParses(bytes) || wholeDocumentParses(smallNumbers(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string exact(reinterpret_cast<const char*>(data), size);
  std::string padded;
  padded.reserve(size + quorbitz::kStatusDecodePadding);
  padded.assign(exact);
  std::string unpadded = exact;
  unpadded.shrink_to_fit();

  DecodeResult inPlace = quorbitz::decodeStatus(padded);
  if (const auto* error = std::get_if<DecodeError>(&inPlace);
      error && error->description.empty()) {
    std::fprintf(stderr, "a decoding error without a description\n");
    std::abort();
  }
  requireSame(inPlace, quorbitz::decodeStatus(unpadded), "padded and unpadded bytes");
  if (!exact.starts_with(kByteOrderMark)) {
    requireSame(inPlace, quorbitz::decodeStatus(std::string(kByteOrderMark) + exact),
                "with and without a byte-order mark");
  }
  if (refusedAsNotJson(inPlace) == isJson(exact)) {
    std::fprintf(stderr,
                 "JSON or not: the decoder and a whole-document parse disagree\n");
    std::abort();
  }
  return 0;
}
