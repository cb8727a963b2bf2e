// SPDX-License-Identifier: Apache-2.0
#include "menu/acting_target.h"

namespace quorbitz {

std::optional<std::string> actingURL(
    const std::optional<std::vector<std::string>>& selection,
    const std::optional<std::string>& targeted,
    const std::optional<std::string>& lastMenuTarget) {
  if (selection && !selection->empty()) return selection->front();
  if (targeted) return targeted;
  return lastMenuTarget;
}

}  // namespace quorbitz
