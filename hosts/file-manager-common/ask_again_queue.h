// SPDX-License-Identifier: Apache-2.0
// The items a GTK file manager is to ask about again, handed to it a few
// milliseconds' worth at a time on its main loop.
//
// A file manager does more for an item it is told to ask about again than
// ask: Nautilus asks at once, inside the invalidation, so one invalidation
// costs it a whole badge request. The hundreds of changes one slice of a
// re-evaluation makes, handed over together, held its window for 12 to 40 ms
// each time. The queue hands them over for at most a few milliseconds per
// turn, a frame apart and at idle priority, so that input, redrawing and the
// file manager's own update of what changed come in between. The answers
// come from the controller when the file manager asks, so a later turn
// delays a new badge but never shows an old one.
//
// The order matters too. The file manager redraws the smallest rectangle
// around every item that changed since its last frame: two items changed at
// opposite corners of the window cost a redraw of all of it (in Nautilus,
// without a GPU, 55 to 80 ms), one item about 12 ms. Items next to each
// other in the window are next to each other by name, so each round of
// queued items is sorted by path and handed over spread out (`SpreadOrder`):
// whatever the file manager gathers between two frames lies far apart by
// name, so rarely more than one of it is in sight.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "file-manager-common/spread_order.h"

namespace quorbitz {

// Tells the file manager to ask again about the item at a path.
using InvalidateItem = void (*)(const std::string& path);

class AskAgainQueue {
 public:
  explicit AskAgainQueue(InvalidateItem invalidate) : invalidate_(invalidate) {}
  ~AskAgainQueue();
  AskAgainQueue(const AskAgainQueue&) = delete;
  AskAgainQueue& operator=(const AskAgainQueue&) = delete;

  // Queues `path` unless it is queued already.
  void add(std::string_view path);
  // The file manager asked about `path` of its own accord and got the
  // current answer: it need not ask again.
  void drop(std::string_view path);

 private:
  struct PathHash {
    using is_transparent = void;
    size_t operator()(std::string_view path) const {
      return std::hash<std::string_view>{}(path);
    }
  };

  static int onTurn(void* self);
  void handOver();
  bool startRound();

  InvalidateItem invalidate_;
  // Every queued path, and whether the file manager is still to be told
  // about it (a dropped path stays until its turn and is skipped then). The
  // views below are of these keys, which stay in place until erased.
  std::unordered_map<std::string, bool, PathHash, std::equal_to<>> queued_;
  // Queued paths not yet in a round, in the order they came.
  std::deque<std::string_view> arrivals_;
  // The round being handed over, sorted, and the order of its turns.
  std::vector<std::string_view> round_;
  SpreadOrder roundOrder_;
  unsigned source_ = 0;
};

}  // namespace quorbitz
