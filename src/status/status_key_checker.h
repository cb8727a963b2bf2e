// SPDX-License-Identifier: Apache-2.0
// Keys the decoder passes over: unknown ones (likely typos) and repeated ones.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "status/status_checker.h"

namespace quorbitz {

// Walks the document's text, which must be a document that decodes.
std::vector<StatusFinding> checkStatusKeys(const std::string& json);

// The known key nearest to `key` when it is close enough to be a typo of it,
// or "" when none is.
std::string_view nearestKnownKey(std::string_view key,
                                 const std::vector<std::string_view>& known);

// `text` in double quotes, as findings cite names.
std::string inQuotes(std::string_view text);

}  // namespace quorbitz
