// SPDX-License-Identifier: Apache-2.0
// The extension's one controller: it owns all run-time state and carries
// every entry point the file manager calls. Every decision, state change and
// platform call runs on the run loop's thread, one call at a time; the
// run loop's background thread only reads and decodes status.json and stats
// cached items, touching none of this object's state.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "badging/badge_cache.h"
#include "badging/badge_choice.h"
#include "badging/badge_set.h"
#include "menu/context_menu.h"
#include "menu/menu_model.h"
#include "menu/selectors.h"
#include "platform/platform.h"
#include "status/canonical_set.h"
#include "status/canonical_text.h"
#include "status/status.h"

namespace quorbitz {

struct Location;
struct IndexedRoot;
using Command = std::vector<std::pair<std::string, std::string>>;

// The application group shared with the main application.
extern const std::string_view kAppGroupIdentifier;

inline constexpr std::chrono::milliseconds kPollingInterval{3000};

// Where start-up's first load of status.json runs. A file manager that asks
// about its items before the load is in force, and is told once it is
// (FinderController::firstLoadEnded), need not wait for a large project's
// status to load before it can draw its first window.
enum class FirstLoad { atOnce, inBackground };

// What the file manager can show of an item inside a root beside its emblem:
// the badge it has now (none for the root itself and for what is never
// badged) and the facts of its root.
struct ItemStatus {
  std::optional<BadgeId> badge;
  std::string project;  // the root's label
  std::string link;
  std::string direction;
  bool locked = false;  // the folder, or the folder the item lies in
};

class FinderSync : public std::enable_shared_from_this<FinderSync> {
 public:
  // Registers the badges, loads status.json once and starts the polling
  // timer. The timer holds the controller weakly: once the last reference
  // is dropped, its ticks do nothing.
  static std::shared_ptr<FinderSync> create(Platform platform,
                                            FirstLoad firstLoad = FirstLoad::atOnce);

  FinderSync(const FinderSync&) = delete;
  FinderSync& operator=(const FinderSync&) = delete;

  void beginObservingDirectoryAtURL(const std::string& url);
  void endObservingDirectoryAtURL(const std::string& url);
  void requestBadgeIdentifierForURL(const std::string& url);
  // The badge a request for `url` would give and its root's facts, for a
  // column or a property page; nothing outside every root. Unlike the
  // request it changes nothing: no trace line, no cached badge.
  std::optional<ItemStatus> itemStatus(const std::string& url);

  std::string toolbarItemName() const;
  std::string toolbarItemToolTip() const;
  ImageRef toolbarItemImage();

  MenuModel menuForMenuKind(MenuKind kind);

  void keepLocal();
  void toggleLock();
  void importResolve();
  void syncNow();
  void copyLink();
  void setMasters();
  void setReview();
  void followLink();
  void folderLink();
  void uploadLink();
  // Calls the action a menu item names.
  void perform(Selector selector);

 private:
  explicit FinderSync(Platform platform);
  void startPolling();

  // The status file as a stat showed it when it was last loaded, or failed
  // to: any difference is a change. A file changed so recently that a
  // rewrite could still leave every attribute as it was is looked at
  // `provisionally`: the next tick reads it again, and only a different
  // content (by `contentHash`) counts as a new load.
  struct LoadedFile {
    FileAttributes file;
    bool provisionally = false;
    std::optional<uint64_t> contentHash;
  };
  struct FailedLoad {
    FileAttributes file;
    bool provisionally = false;
    std::string line;
  };

  std::optional<std::string> finderDir() const;
  // The same written over `dir`; false when there is none.
  bool finderDirInto(std::string& dir) const;
  // A tick loads what changed, and re-reads a file looked at provisionally;
  // the look right after a load only catches what changed while it ran, and
  // reports no failure of its own, which the next tick does.
  enum class Look { tick, afterLoad };
  // Start-up's load may run at once; the others read and decode in the
  // background and take effect on the main queue.
  void reload(Look look);
  void reloadStatusFile(Look look);
  struct LoadedRoots;
  struct LoadOutcome;
  struct PendingLoad;
  static LoadOutcome loadStatusFile(FileSystem& files, const std::string& path,
                                    LoadOutcome outcome) noexcept;
  // False when nothing finished, or finishing it ran out of memory.
  bool finishPendingLoad();
  void endFirstLoad();
  static std::unique_ptr<LoadedRoots> indexRoots(std::vector<IndexedRoot> decoded);
  void finishLoad(LoadOutcome outcome);
  void failLoad(const FileAttributes& file, bool provisionally, std::string line);
  void publishWatchedFolders(const std::vector<std::string>& folders);

  std::optional<Location> locate(std::string_view itemPath) const;
  // The badge an item gets under the state in force, and where it lies.
  struct ItemBadge {
    BadgeId badge;
    BadgeCache::Placement placement;
    std::string_view canonicalRel;  // a part of the canonical path passed in
    bool isDirectory;
  };
  std::optional<ItemBadge> badgeFor(const std::string& itemPath,
                                    std::string_view canonicalPath);
  // `isDirectory`: the item's type, found beside the main thread.
  void reevaluate(BadgeCache::Handle handle, bool isDirectory);
  struct StatBatch;
  // After a load has come into force.
  void startReevaluation();
  // When a changed status file starts loading and no walk is under way: the
  // walk's stats run beside the load, and its badges wait for the load to
  // come into force or fail.
  void startReevaluationBesideLoad();
  void releaseHeldDecisions();
  // Once the load is in force: the items answered under the state it
  // replaced while the walk was held.
  void sendAnsweredBesideLoad();
  // The items the file manager shows go first.
  void sendInSightBatch();
  void sendStatBatches();
  void sendForStats(const std::shared_ptr<StatBatch>& batch);
  void statsCameBack(const std::shared_ptr<StatBatch>& batch);
  void scheduleDecisions();
  void decideStatedBatches();
  void registerBadges();

  std::optional<std::string> actingURL();
  void performCopyLink();
  // Writes the command of `action` (its name in log lines), or logs why not.
  void writeCommand(std::string_view action, const Command& command);

  void trace(std::string_view message);
  // A message given in parts, joined as they are.
  void trace(std::initializer_list<std::string_view> message);
  void log(std::string_view line);

  Platform platform;

  std::vector<RootStatus> roots;
  CanonicalMap<CanonicalSet> syncedSets;
  CanonicalMap<CanonicalSet> keptSets;
  CanonicalMap<CanonicalSet> lockedSets;
  // Per element of `roots`, worked out once per load rather than once per
  // badge: what badge choice needs of it, and the path's canonical spelling.
  std::vector<RootFacts> rootFacts;
  std::vector<std::string> canonicalRootPaths;
  // Bumped whenever a load changes the canonical root paths.
  uint32_t rootsGeneration = 0;
  std::optional<LoadedFile> lastLoaded;
  std::optional<FailedLoad> lastFailedLoad;
  bool loadInBackground = false;
  bool firstLoadOver = false;
  std::shared_ptr<PendingLoad> pendingLoad;
  BadgeCache badgeCache;
  // Re-evaluation after a load walks the cache in batches, from where the
  // last walk stopped, until it has visited every handle once; a newer load
  // restarts the count, so no entry waits behind others however often the
  // status changes. The worker finds each batch's item types, the main
  // queue then decides their badges a few milliseconds at a time.
  size_t reevaluationCursor = 0;
  size_t reevaluationLeft = 0;
  size_t statBatchesOut = 0;
  // Counts walks, so that a batch of an earlier one frees no slot of this one.
  uint64_t reevaluationWalk = 0;
  // Batches whose stats came back, oldest first, waiting for their badges.
  std::deque<std::shared_ptr<StatBatch>> statedBatches;
  bool decisionsScheduled = false;
  // The walk's stats began with a load still under way.
  bool decisionsHeld = false;
  std::vector<BadgeCache::Handle> answeredBesideLoad;
  std::optional<std::string> lastMenuTarget;
};

}  // namespace quorbitz
