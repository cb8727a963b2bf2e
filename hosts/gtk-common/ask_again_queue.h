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
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

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
  void drop(std::string_view path) { queued_.erase(path); }

 private:
  static int onTurn(void* self);
  void handOver();

  InvalidateItem invalidate_;
  // In the order the changes came; `queued_` views the strings of `order_`
  // (a deque keeps its elements in place) and says which still wait: a
  // dropped path stays in `order_` until its turn and is skipped then.
  std::deque<std::string> order_;
  std::unordered_set<std::string_view> queued_;
  unsigned source_ = 0;
};

}  // namespace quorbitz
