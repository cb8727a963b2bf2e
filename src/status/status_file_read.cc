// SPDX-License-Identifier: Apache-2.0
#include "status/status_file_read.h"

#include "platform/platform.h"
#include "status/status_decoder.h"

namespace quorbitz {

std::variant<std::string, StatusFileRefusal> readStatusFile(FileSystem& files,
                                                            const std::string& path,
                                                            std::optional<uint64_t> statSize) {
  if (statSize.value_or(0) > kLargestStatusFile) return StatusFileRefusal::tooLarge;
  std::optional<std::string> bytes = files.readFile(path, kStatusDecodePadding);
  if (!bytes) return StatusFileRefusal::unreadable;
  return std::move(*bytes);
}

}  // namespace quorbitz
