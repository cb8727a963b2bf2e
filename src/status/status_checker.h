// SPDX-License-Identifier: Apache-2.0
// Likely mistakes in a status.json that the extension loads: documents that
// decode but then match nothing, or not what their writer meant. Loading never
// depends on these findings; they are advice for the main application's
// developers (`quorbitz-finder check-status`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "status/status.h"

namespace quorbitz {

class FileSystem;

struct StatusFinding {
  std::string jsonPath;  // as in decode errors: "roots[0].kept_local[2]"
  std::string message;

  bool operator==(const StatusFinding&) const = default;
};

// `json` is the document's text and `status` what it decoded to. `files` is
// asked only whether folders exist, so that a role naming no folder is found
// for roots present on this machine.
std::vector<StatusFinding> checkStatus(const std::string& json, const Status& status,
                                       FileSystem& files);

}  // namespace quorbitz
