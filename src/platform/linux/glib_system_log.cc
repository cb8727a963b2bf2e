// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/glib_system_log.h"

#include <glib.h>

#include <string>

namespace quorbitz {
namespace {

class GlibSystemLog final : public SystemLog {
 public:
  void log(std::string_view line) override {
    g_log(kGlibLogDomain, G_LOG_LEVEL_MESSAGE, "%s", std::string(line).c_str());
  }
};

}  // namespace

std::unique_ptr<SystemLog> newGlibSystemLog() {
  return std::make_unique<GlibSystemLog>();
}

}  // namespace quorbitz
