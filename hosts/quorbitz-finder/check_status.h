// SPDX-License-Identifier: Apache-2.0
// `quorbitz-finder check-status [--json] [FILE]`: whether the extension would
// load a status file, and the likely mistakes in one it would load.
#pragma once

#include <string>
#include <vector>

namespace quorbitz::host {

// Returns the process's exit status.
int checkStatusCommand(const std::vector<std::string>& args);

}  // namespace quorbitz::host
