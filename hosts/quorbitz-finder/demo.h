// SPDX-License-Identifier: Apache-2.0
// `quorbitz-finder demo`: a narrated walk through one change, end to end.
#pragma once

#include <optional>
#include <string>

namespace quorbitz::host {

// Builds the sample container in `keepDir` (left in place) or in a temporary
// folder (removed afterwards). Returns the exit status.
int runDemo(const std::optional<std::string>& keepDir);

}  // namespace quorbitz::host
