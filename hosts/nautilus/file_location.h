// SPDX-License-Identifier: Apache-2.0
// Local paths of the files Nautilus hands to the providers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "nautilus/nautilus_headers.h"

namespace quorbitz {

// The item's absolute path; nullopt for items that are not local files
// (network shares, trash, search results without a path).
std::optional<std::string> localPath(NautilusFileInfo* file);

// The local paths of a list of NautilusFileInfo, in list order.
std::vector<std::string> localPaths(GList* files);

}  // namespace quorbitz
