// SPDX-License-Identifier: Apache-2.0
// The items a GTK file manager is to ask about again, handed to it a few
// milliseconds' worth at a time on its main loop, those in sight first.
//
// A file manager does more for an item it is told to ask about again than
// ask: Nautilus asks at once, inside the invalidation, and then updates and
// redraws the item. The hundreds of changes one slice of a re-evaluation
// makes, handed over together, held its window for 12 to 40 ms each time.
// The queue hands them over for at most a few milliseconds per turn, a frame
// apart and at idle priority, so that input, redrawing and the file
// manager's own update of what changed come in between; and no more of them
// in any tenth of a second than that update, which comes about that often,
// can take without holding the window long.
//
// What the user sees goes first: at every turn the items whose names the
// file manager shows in sight are handed over before any other, all at once,
// so a window's worth of changes costs one redraw and shows within a turn or
// two. The rest wait until the file manager has updated those, then follow
// in rounds, each sorted by path and handed over spread out
// (`SpreadOrder`): the file manager redraws the smallest rectangle
// around every item that changed since its last frame, and items next to
// each other in a window are next to each other by name, so whatever it
// gathers between two frames lies far apart and rarely more than one of it
// comes into sight when the user scrolls meanwhile.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "file-manager-common/spread_order.h"

namespace quorbitz {

// Tells the file manager to ask again about the item at a path.
using InvalidateItem = void (*)(const std::string& path);
// The names (last path components) of the items the file manager's windows
// show in sight now.
using NamesInSight = std::vector<std::string> (*)();

class AskAgainQueue {
 public:
  // Called with a queued path and the badge pushed for it (see `add`).
  using HandOver = std::function<void(const std::string& path,
                                      const std::optional<std::string>& pushed)>;

  explicit AskAgainQueue(HandOver handOver, NamesInSight inSight = nullptr)
      : handOver_(std::move(handOver)), inSight_(inSight) {}
  ~AskAgainQueue();
  AskAgainQueue(const AskAgainQueue&) = delete;
  AskAgainQueue& operator=(const AskAgainQueue&) = delete;

  // Queues `path`, or updates what is pushed for it when it is queued
  // already. `pushed` is the badge identifier the controller assigned, ""
  // when it withdrew the badge, or none when the answer must be asked of
  // the controller.
  void add(std::string_view path, std::optional<std::string> pushed = std::nullopt);
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
  struct Waiting {
    bool toTell = true;
    std::optional<std::string> pushed;
  };
  using Queued = std::unordered_map<std::string, Waiting, PathHash, std::equal_to<>>;

  // A turn's time and how many items it handed over.
  struct Turn {
    int64_t at;
    size_t handed;
  };

  static int onTurn(void* self);
  void takeTurn(int64_t now);
  // How many more items may be handed over before the file manager's next
  // update of what changed.
  size_t roomInWindow(int64_t now);
  size_t handOverInSight(int64_t now);
  size_t handOverSpread(size_t most);
  bool startRound();
  void tell(Queued::iterator queued);
  void forget(std::string_view path);

  HandOver handOver_;
  NamesInSight inSight_;
  // Every queued path (a path already told stays until its round's turn
  // and is skipped then). The views below are of these keys, which stay in
  // place until erased.
  Queued queued_;
  // How many queued paths lie in each folder: where the names in sight are
  // looked for.
  std::unordered_map<std::string, size_t, PathHash, std::equal_to<>> folders_;
  // Queued paths not yet in a round, in the order they came.
  std::deque<std::string_view> arrivals_;
  // The round being handed over, sorted, and the order of its turns.
  std::vector<std::string_view> round_;
  SpreadOrder roundOrder_;
  // The turns of the last update interval, oldest first.
  std::deque<Turn> recentTurns_;
  // Until then only items in sight are handed over.
  int64_t restWaitsUntil_ = 0;
  // The names in sight when last read, and when.
  std::vector<std::string> namesInSight_;
  std::optional<int64_t> inSightReadAt_;
  unsigned source_ = 0;
};

}  // namespace quorbitz
