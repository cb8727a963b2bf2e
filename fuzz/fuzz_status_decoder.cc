// SPDX-License-Identifier: Apache-2.0
// status.json comes from another process that can crash half-way through a
// write, so any bytes at all must decode to a Status or an error. The
// decoder parses in place when the caller leaves padding and copies
// otherwise; both ways, and a leading byte-order mark, must agree. It reads
// only the values it needs yet must refuse a document that is not JSON
// anywhere, exactly as a whole-document parse does.
#include <simdjson.h>

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
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  simdjson::dom::element document;
  return parser.parse(bytes.data(), bytes.size()).get(document) == simdjson::SUCCESS;
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
  if (refusedAsNotJson(inPlace) == wholeDocumentParses(exact)) {
    std::fprintf(stderr,
                 "JSON or not: the decoder and a whole-document parse disagree\n");
    std::abort();
  }
  return 0;
}
