// SPDX-License-Identifier: Apache-2.0
// The system log of a program that runs GLib's main loop: GLib's log under the
// domain "quorbitz", which a desktop session sends to the journal and anything
// else to standard error. File-manager extensions use it, so their lines land
// where the file manager's own do.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace quorbitz {

inline constexpr const char* kGlibLogDomain = "quorbitz";

std::unique_ptr<SystemLog> newGlibSystemLog();

}  // namespace quorbitz
