// SPDX-License-Identifier: Apache-2.0
// What the controller does to the stand-in file manager, as events.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quorbitz::host {

class HostEvents {
 public:
  virtual ~HostEvents() = default;
  virtual void log(std::string_view line) = 0;
  virtual void badgeImage(std::string_view identifier, std::string_view label,
                          Size size) = 0;
  virtual void directoryURLs(const std::vector<std::string>& sortedPaths) = 0;
  virtual void badgeIdentifier(std::string_view identifier, std::string_view path) = 0;
  virtual void pasteboard(std::string_view text) = 0;
};

}  // namespace quorbitz::host
