// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/ask_again_queue.h"

#include <glib.h>

#include <cstdint>

namespace quorbitz {
namespace {

// What one turn may spend handing items over; the file manager's answer to
// each comes inside the hand-over.
constexpr int64_t kTurnMicroseconds = 2000;
// A frame between turns. The file manager's own update of the items that
// changed comes later, in one dispatch for all it collected since the last:
// with turns back to back, Nautilus's held its window 45 ms at the 99th
// percentile; a frame apart, about 10 ms.
constexpr unsigned kMillisecondsBetweenTurns = 16;

}  // namespace

AskAgainQueue::~AskAgainQueue() {
  if (source_) g_source_remove(source_);
}

void AskAgainQueue::add(std::string_view path) {
  if (queued_.contains(path)) return;
  queued_.insert(order_.emplace_back(path));
  if (!source_) {
    source_ = g_timeout_add_full(G_PRIORITY_DEFAULT_IDLE, kMillisecondsBetweenTurns,
                                 &AskAgainQueue::onTurn, this, nullptr);
  }
}

// The turn's source stays set while it runs, so that a change the file
// manager's answers cause meanwhile joins the queue without a second source.
int AskAgainQueue::onTurn(void* self) {
  auto* queue = static_cast<AskAgainQueue*>(self);
  try {
    queue->handOver();
  } catch (...) {
    // Out of memory: what is left goes at the next turn.
  }
  if (!queue->order_.empty()) return G_SOURCE_CONTINUE;
  queue->source_ = 0;
  return G_SOURCE_REMOVE;
}

void AskAgainQueue::handOver() {
  const int64_t deadline = g_get_monotonic_time() + kTurnMicroseconds;
  while (!order_.empty()) {
    // Erased from the set before the file manager is told, since it asks
    // again at once and the question drops the path.
    const bool waiting = queued_.erase(order_.front()) > 0;
    const std::string path = std::move(order_.front());
    order_.pop_front();
    if (!waiting) continue;
    if (invalidate_) invalidate_(path);
    if (g_get_monotonic_time() >= deadline) return;
  }
}

}  // namespace quorbitz
