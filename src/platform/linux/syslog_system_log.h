// SPDX-License-Identifier: Apache-2.0
// The system log on Linux: syslog, which the journal collects on a desktop.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace quorbitz {

std::unique_ptr<SystemLog> newSyslogSystemLog();

}  // namespace quorbitz
