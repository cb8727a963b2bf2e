// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/syslog_system_log.h"

#include <syslog.h>

#include <string>

namespace quorbitz {
namespace {

class SyslogSystemLog final : public SystemLog {
 public:
  SyslogSystemLog() { openlog("quorbitz", LOG_PID, LOG_USER); }
  void log(std::string_view line) override {
    std::string text(line);
    syslog(LOG_NOTICE, "%s", text.c_str());
  }
};

}  // namespace

std::unique_ptr<SystemLog> newSyslogSystemLog() {
  return std::make_unique<SyslogSystemLog>();
}

}  // namespace quorbitz
