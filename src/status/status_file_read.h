// SPDX-License-Identifier: Apache-2.0
// Reading status.json as the extension does before decoding it: which files
// it refuses unread. `quorbitz-finder check-status` applies the same rules,
// so that it never approves a file the extension would refuse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace quorbitz {

class FileSystem;

// A worker reads and decodes the file, so the limit is about memory: a
// load holds the file's bytes, the parser's index of them and the new sets
// beside the ones in force. A realistic status of 1,000,000 synced paths is
// 84 MB.
inline constexpr uint64_t kLargestStatusFile = uint64_t{128} << 20;

enum class StatusFileRefusal {
  tooLarge,    // more than kLargestStatusFile bytes, by the size `stat` gave
  unreadable,  // not a regular file (a folder, FIFO, device), or no access
};

// The file's bytes with kStatusDecodePadding spare capacity, ready for
// decodeStatus, or why they were not read. `statSize` is the size the
// caller's look at the file found, which decides before anything is read.
std::variant<std::string, StatusFileRefusal> readStatusFile(FileSystem& files,
                                                            const std::string& path,
                                                            std::optional<uint64_t> statSize);

}  // namespace quorbitz
