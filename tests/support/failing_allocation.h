// SPDX-License-Identifier: Apache-2.0
// The test binary replaces the global operator new: it counts allocations,
// and while a FailingAllocation is alive one chosen allocation throws
// std::bad_alloc.
#pragma once

namespace quorbitz::testing {

// Allocations made by the whole process so far.
long allocationsSoFar();

class FailingAllocation {
 public:
  // Allocation number `index` (from 0) from now on fails, once.
  explicit FailingAllocation(long index);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;

  // True once the chosen allocation has been refused.
  bool failed() const;
};

}  // namespace quorbitz::testing
