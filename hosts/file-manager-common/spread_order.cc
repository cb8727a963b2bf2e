// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/spread_order.h"

#include <bit>

namespace quorbitz {
namespace {

size_t reversedBits(size_t value, unsigned bits) {
  size_t reversed = 0;
  for (unsigned bit = 0; bit < bits; ++bit) {
    reversed = (reversed << 1) | (value & 1);
    value >>= 1;
  }
  return reversed;
}

}  // namespace

SpreadOrder::SpreadOrder(size_t count)
    : count_(count),
      span_(std::bit_ceil(count)),
      bits_(static_cast<unsigned>(std::countr_zero(span_))) {}

std::optional<size_t> SpreadOrder::next() {
  // At most half the span lies beyond `count_`, so this skips at most one
  // index per visit on average.
  while (step_ < span_) {
    const size_t index = reversedBits(step_++, bits_);
    if (index < count_) return index;
  }
  return std::nullopt;
}

}  // namespace quorbitz
