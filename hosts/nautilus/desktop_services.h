// SPDX-License-Identifier: Apache-2.0
// The system log and the pasteboard as Nautilus's process offers them.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace quorbitz {

// GLib's log under the domain "quorbitz": the journal of a desktop session,
// or Nautilus's standard error.
std::unique_ptr<SystemLog> newGlibSystemLog();

// The clipboard of the default display. Refuses text while Nautilus has no
// display.
std::unique_ptr<Pasteboard> newGtkPasteboard();

}  // namespace quorbitz
