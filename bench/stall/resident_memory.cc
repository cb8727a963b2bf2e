// SPDX-License-Identifier: Apache-2.0
#include "resident_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace quorbitz::bench {

size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  size_t totalPages = 0;
  size_t residentPages = 0;
  if (!(statm >> totalPages >> residentPages)) std::abort();
  return residentPages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

void resetPeakResident() {
  // "5" resets the peak (VmHWM) to the present resident size.
  std::ofstream clearRefs("/proc/self/clear_refs");
  clearRefs << "5";
  if (!clearRefs.flush()) std::perror("/proc/self/clear_refs");
}

size_t peakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      size_t kibibytes = 0;
      status >> kibibytes;
      return kibibytes << 10;
    }
    status.ignore(1 << 10, '\n');
  }
  std::abort();
}

void releaseFreeMemory() { malloc_trim(0); }

}  // namespace quorbitz::bench
