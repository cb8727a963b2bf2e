// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/ask_again_queue.h"

#include <glib.h>

#include <algorithm>
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
// A round is sorted inside one turn: about a millisecond for this many
// paths. Changes come from a re-evaluation in no particular order, so a
// larger batch split into rounds is still spread out within each.
constexpr size_t kRoundLimit = 4096;

}  // namespace

AskAgainQueue::~AskAgainQueue() {
  if (source_) g_source_remove(source_);
}

void AskAgainQueue::add(std::string_view path) {
  if (auto queued = queued_.find(path); queued != queued_.end()) {
    queued->second = true;
  } else {
    const auto added = queued_.emplace(path, true).first;
    try {
      arrivals_.push_back(added->first);
    } catch (...) {
      // A path queued but in no round would never be handed over, and its
      // turns would never end.
      queued_.erase(added);
      throw;
    }
  }
  if (!source_) {
    source_ = g_timeout_add_full(G_PRIORITY_DEFAULT_IDLE, kMillisecondsBetweenTurns,
                                 &AskAgainQueue::onTurn, this, nullptr);
  }
}

void AskAgainQueue::drop(std::string_view path) {
  if (auto queued = queued_.find(path); queued != queued_.end()) queued->second = false;
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
  if (!queue->queued_.empty()) return G_SOURCE_CONTINUE;
  queue->source_ = 0;
  return G_SOURCE_REMOVE;
}

void AskAgainQueue::handOver() {
  const int64_t deadline = g_get_monotonic_time() + kTurnMicroseconds;
  for (;;) {
    std::optional<size_t> index = roundOrder_.next();
    if (!index) {
      if (!startRound()) return;
      continue;
    }
    // Out of the queue before the file manager is told: it asks again at
    // once, and a change the question causes must queue the path anew.
    auto queued = queued_.extract(queued_.find(round_[*index]));
    if (!queued.mapped()) continue;
    const std::string path = std::move(queued.key());
    if (invalidate_) invalidate_(path);
    if (g_get_monotonic_time() >= deadline) return;
  }
}

bool AskAgainQueue::startRound() {
  const size_t count = std::min(arrivals_.size(), kRoundLimit);
  if (count == 0) return false;
  round_.assign(arrivals_.begin(), arrivals_.begin() + static_cast<ptrdiff_t>(count));
  arrivals_.erase(arrivals_.begin(), arrivals_.begin() + static_cast<ptrdiff_t>(count));
  std::sort(round_.begin(), round_.end());
  roundOrder_ = SpreadOrder(count);
  return true;
}

}  // namespace quorbitz
