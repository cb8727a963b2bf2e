// SPDX-License-Identifier: Apache-2.0
// The records of status.json, written by the main application.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorbitz {

// One synced folder. Paths in the three lists and in `roles` are relative to
// `path` ("Footage/A001.mov"; "" is the root itself).
struct RootStatus {
  std::string path;       // absolute, exactly as the main application wrote it
  std::string direction;  // carried for the main application only
  std::string label;      // carried for the main application only
  std::string link;       // put on the pasteboard by "Copy Project Link"
  bool canLock = false;
  std::vector<std::string> keptLocal;
  std::vector<std::string> locked;
  std::vector<std::string> synced;
  std::optional<bool> rootLocked;    // absent reads as false
  std::optional<bool> canMintLinks;  // absent reads as false
  // Role name ("masters", "review", others ignored) to relative folder path.
  std::optional<std::map<std::string, std::string>> roles;

  bool operator==(const RootStatus&) const = default;
};

struct Status {
  int64_t version = 0;
  std::vector<RootStatus> roots;  // document order

  bool operator==(const Status&) const = default;
};

}  // namespace quorbitz
