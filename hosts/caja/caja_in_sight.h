// SPDX-License-Identifier: Apache-2.0
// The names of the files Caja's windows show in sight.
#pragma once

#include <string>
#include <vector>

namespace quorbitz {

// From the visible rows of Caja's list views and, for its icon and compact
// views, which draw on a canvas of Caja's own, from the canvas's first icon
// in sight on, in the order the canvas lays its icons out.
std::vector<std::string> namesInSightInCaja();

}  // namespace quorbitz
