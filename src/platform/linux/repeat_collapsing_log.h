// SPDX-License-Identifier: Apache-2.0
// A system log that leaves out failure lines repeating the one before, the
// way syslog daemons collapse repeats.
//
// An installed file-manager extension runs for every user of the machine,
// also for those who never installed the service; for them the polling timer
// finds no status file every 3 seconds. The first failure line is written,
// its repeats are counted, and the next different line is written after one
// line telling how many repeats were left out. Lines that report an event
// (a load, a menu, an action on a path) are always written.
#pragma once

#include <memory>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz {

// True for a line that reports a failure: the operation's name followed by
// " — " and a message, other than the report of a successful load.
bool isFailureLine(std::string_view line);

// Writes through `inner`.
std::unique_ptr<SystemLog> newRepeatCollapsingLog(std::unique_ptr<SystemLog> inner);

}  // namespace quorbitz
