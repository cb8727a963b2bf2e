// SPDX-License-Identifier: Apache-2.0
// The process's resident memory as the kernel counts it: what a user sees
// the file manager hold, fragmentation and first-touched buffers included.
#pragma once

#include <cstddef>

namespace quorbitz::bench {

size_t residentBytes();
// Starts a new peak at the present resident size.
void resetPeakResident();
// The largest resident size since the last reset.
size_t peakResidentBytes();
// Hands memory that malloc keeps free back to the system, so that a baseline
// taken next counts only what is in use.
void releaseFreeMemory();

}  // namespace quorbitz::bench
