// SPDX-License-Identifier: Apache-2.0
#include "support/failing_allocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace quorbitz::testing {
namespace {

std::atomic<long> allocationsBeforeFailure{-1};
std::atomic<bool> refused{false};
std::atomic<long> allocations{0};

}  // namespace

long allocationsSoFar() { return allocations; }

FailingAllocation::FailingAllocation(long index) {
  refused = false;
  allocationsBeforeFailure = index;
}

FailingAllocation::~FailingAllocation() { allocationsBeforeFailure = -1; }

bool FailingAllocation::failed() const { return refused; }

}  // namespace quorbitz::testing

using quorbitz::testing::allocationsBeforeFailure;

namespace {

// Counts the allocation, and refuses it when it is the chosen one.
bool refuseThisAllocation() {
  quorbitz::testing::allocations.fetch_add(1, std::memory_order_relaxed);
  if (allocationsBeforeFailure.load(std::memory_order_relaxed) < 0 ||
      allocationsBeforeFailure.fetch_sub(1) != 0) {
    return false;
  }
  quorbitz::testing::refused = true;
  return true;
}

}  // namespace

// Every form that plain delete may be handed memory from is replaced, so that
// a sanitizer sees malloc and free in pairs.
void* operator new(std::size_t size) {
  if (refuseThisAllocation()) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return refuseThisAllocation() ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
