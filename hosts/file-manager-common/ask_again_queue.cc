// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/ask_again_queue.h"

#include <glib.h>

#include <algorithm>
#include <cstdint>

namespace quorbitz {
namespace {

// What one turn may spend handing over items out of sight; the file
// manager's answer to each comes inside the hand-over.
constexpr int64_t kTurnMicroseconds = 6000;
// A frame between turns. The file manager's own update of the items that
// changed comes later, in one dispatch for all it collected since the last:
// with turns back to back, Nautilus's held its window 45 ms at the 99th
// percentile; a frame apart, about 10 ms.
constexpr unsigned kMillisecondsBetweenTurns = 16;
// Nautilus updates the items that changed 100 ms after the first of them,
// in one dispatch whose cost grows with how many there are (three changes
// an item: its emblem, its column's words, the end of its question), so
// one update holds what was handed over in the 100 ms before it. At most
// 1,200 a window kept Nautilus's updates at 29 ms median, 46 ms at worst,
// and handed a 10,000-item folder over in 1.25 s; unbounded, a 6 ms turn
// a frame reaches 1,300 to 1,700, which made them 36 ms median and 53 to
// 63 ms at worst, in 1.0 s.
constexpr int64_t kWindowMicroseconds = 100000;
constexpr size_t kMostPerWindow = 1200;
// The items in sight are redrawn in the frame after Nautilus's update of
// them, at about 3 ms an item under software rendering. The rest wait
// until that update is over rather than join it: together they held the
// window twice over, 30 ms for the update and up to 65 for the frame.
constexpr int64_t kInSightAloneMicroseconds = 120000;
// What the windows show is read again at most this often while items wait:
// Caja's first icon in sight and exo's visible range are found by going
// through every icon, 1 to 3 ms in a folder of 10,000. An item scrolled into
// sight meanwhile waits three frames more at most.
constexpr int64_t kInSightFreshMicroseconds = 50000;
// A round is sorted inside one turn: about a millisecond for this many
// paths. Changes come from a re-evaluation in no particular order, so a
// larger batch split into rounds is still spread out within each.
constexpr size_t kRoundLimit = 4096;

std::string_view folderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

}  // namespace

AskAgainQueue::~AskAgainQueue() {
  if (source_) g_source_remove(source_);
}

void AskAgainQueue::add(std::string_view path, std::optional<std::string> pushed) {
  if (auto queued = queued_.find(path); queued != queued_.end()) {
    queued->second = {true, std::move(pushed)};
  } else {
    const auto added = queued_.emplace(path, Waiting{true, std::move(pushed)}).first;
    try {
      arrivals_.push_back(added->first);
      const std::string_view folder = folderOf(path);
      if (auto counted = folders_.find(folder); counted != folders_.end()) {
        ++counted->second;
      } else {
        folders_.emplace(folder, 1);
      }
    } catch (...) {
      // A path queued but in no round would never be handed over, and its
      // turns would never end.
      if (!arrivals_.empty() && arrivals_.back().data() == added->first.data()) {
        arrivals_.pop_back();
      }
      queued_.erase(added);
      throw;
    }
  }
  // The first turn comes as soon as the main loop is idle: a change the user
  // sees waits for no frame.
  if (!source_)
    source_ =
        g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, &AskAgainQueue::onTurn, this, nullptr);
}

void AskAgainQueue::drop(std::string_view path) {
  if (auto queued = queued_.find(path); queued != queued_.end())
    queued->second.toTell = false;
}

// The turn's source stays set while it runs, so that a change the file
// manager's answers cause meanwhile joins the queue without a second source.
int AskAgainQueue::onTurn(void* self) {
  auto* queue = static_cast<AskAgainQueue*>(self);
  try {
    queue->takeTurn(g_get_monotonic_time());
  } catch (...) {
    // Out of memory: what is left goes at the next turn.
  }
  queue->source_ =
      queue->queued_.empty()
          ? 0
          : g_timeout_add_full(G_PRIORITY_DEFAULT_IDLE, kMillisecondsBetweenTurns,
                               &AskAgainQueue::onTurn, queue, nullptr);
  return G_SOURCE_REMOVE;
}

// The entry stays until its round's turn, where it is skipped unless it
// changed again meanwhile.
void AskAgainQueue::tell(Queued::iterator queued) {
  queued->second.toTell = false;
  const std::string path = queued->first;
  const std::optional<std::string> pushed = queued->second.pushed;
  if (handOver_) handOver_(path, pushed);
}

void AskAgainQueue::takeTurn(int64_t now) {
  const size_t inSight = handOverInSight(now);
  if (inSight > 0) restWaitsUntil_ = now + kInSightAloneMicroseconds;
  size_t handed = inSight;
  if (now >= restWaitsUntil_) {
    const size_t room = roomInWindow(now);
    handed += handOverSpread(room - std::min(room, inSight));
  }
  if (handed > 0) recentTurns_.push_back({now, handed});
}

size_t AskAgainQueue::roomInWindow(int64_t now) {
  while (!recentTurns_.empty() && recentTurns_.front().at <= now - kWindowMicroseconds)
    recentTurns_.pop_front();
  size_t handed = 0;
  for (const Turn& turn : recentTurns_) handed += turn.handed;
  return kMostPerWindow - std::min(kMostPerWindow, handed);
}

size_t AskAgainQueue::handOverInSight(int64_t now) {
  if (!inSight_ || queued_.empty()) return 0;
  if (!inSightReadAt_ || now - *inSightReadAt_ >= kInSightFreshMicroseconds) {
    namesInSight_ = inSight_();
    inSightReadAt_ = now;
  }
  if (namesInSight_.empty()) return 0;
  size_t handed = 0;
  // Telling may queue paths in new folders.
  std::vector<std::string> folders;
  for (const auto& [folder, count] : folders_) folders.emplace_back(folder);
  std::string path;
  for (const std::string& folder : folders) {
    for (const std::string& name : namesInSight_) {
      path.assign(folder).append("/").append(name);
      auto queued = queued_.find(path);
      if (queued != queued_.end() && queued->second.toTell) {
        tell(queued);
        ++handed;
      }
    }
  }
  return handed;
}

size_t AskAgainQueue::handOverSpread(size_t most) {
  const int64_t deadline = g_get_monotonic_time() + kTurnMicroseconds;
  size_t handed = 0;
  while (handed < most) {
    std::optional<size_t> index = roundOrder_.next();
    if (!index) {
      if (!startRound()) break;
      continue;
    }
    // Out of the queue before the file manager is told: it asks again at
    // once, and a change the question causes must queue the path anew.
    auto queued = queued_.extract(queued_.find(round_[*index]));
    forget(queued.key());
    if (!queued.mapped().toTell) continue;
    const std::string path = std::move(queued.key());
    const std::optional<std::string> pushed = std::move(queued.mapped().pushed);
    ++handed;
    if (handOver_) handOver_(path, pushed);
    if (g_get_monotonic_time() >= deadline) break;
  }
  return handed;
}

void AskAgainQueue::forget(std::string_view path) {
  auto counted = folders_.find(folderOf(path));
  if (counted != folders_.end() && --counted->second == 0) folders_.erase(counted);
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
