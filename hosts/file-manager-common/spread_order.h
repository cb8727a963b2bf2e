// SPDX-License-Identifier: Apache-2.0
// An order of visiting 0 .. count-1 in which every run of consecutive
// visits lies spread over the whole range, never bunched: the first two are
// half the range apart, the first four a quarter, and so on (the indexes
// with their bits reversed).
#pragma once

#include <cstddef>
#include <optional>

namespace quorbitz {

class SpreadOrder {
 public:
  explicit SpreadOrder(size_t count = 0);

  // The next index to visit, or none when all were visited.
  std::optional<size_t> next();

 private:
  size_t count_;
  size_t span_;  // `count_` rounded up to a power of two
  unsigned bits_;
  size_t step_ = 0;
};

}  // namespace quorbitz
