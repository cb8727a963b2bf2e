// SPDX-License-Identifier: Apache-2.0
// The room simdjson's index of a document takes, known before it starts: four
// bytes for every value, key and punctuation mark, whatever their size. A
// list of a million zeros costs eight times its text in index. A load
// refuses a document whose index would outgrow three quarters of its text,
// so that text and index together stay within twice the file. No real status
// comes near: a path takes more than eleven bytes of text for its eight bytes
// of index (the string and the comma after it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quorbitz {

// Bytes of index the parser would build for `text`, counted in one pass
// without checking the text: a document that is not JSON is counted too.
// The count stops once it passes `enough`.
size_t decodingRoom(std::string_view text, size_t enough = SIZE_MAX);

// Room any document may take, whatever its size: below it, memory is not
// worth refusing a document over.
inline constexpr size_t kRoomAlwaysAllowed = size_t{16} << 20;

// Whether decoding `text` needs more index than three quarters of the text
// itself, and more than kRoomAlwaysAllowed.
bool tooDenseToDecode(std::string_view text);

}  // namespace quorbitz
