// SPDX-License-Identifier: Apache-2.0
// The extension's one controller: it owns all run-time state and carries
// every entry point the file manager calls. Everything runs on the run loop's
// thread, one call at a time.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "badging/badge_choice.h"
#include "badging/badge_set.h"
#include "menu/context_menu.h"
#include "menu/menu_model.h"
#include "menu/selectors.h"
#include "platform/platform.h"
#include "status/canonical_text.h"
#include "status/status.h"

namespace quorbitz {

struct Location;
using Command = std::vector<std::pair<std::string, std::string>>;

// The application group shared with the main application.
extern const std::string_view kAppGroupIdentifier;

inline constexpr std::chrono::milliseconds kPollingInterval{3000};

class FinderSync : public std::enable_shared_from_this<FinderSync> {
 public:
  // Registers the badges, loads status.json once and starts the polling
  // timer. The timer holds the controller weakly: once the last reference
  // is dropped, its ticks do nothing.
  static std::shared_ptr<FinderSync> create(Platform platform);

  FinderSync(const FinderSync&) = delete;
  FinderSync& operator=(const FinderSync&) = delete;

  void beginObservingDirectoryAtURL(const std::string& url);
  void endObservingDirectoryAtURL(const std::string& url);
  void requestBadgeIdentifierForURL(const std::string& url);

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

  // A status file that failed to load, known by what a stat tells of it,
  // and the line its failure logged.
  struct FailedLoad {
    uint64_t size;
    FileTime modified;
    FileTime changed;
    std::string line;
    bool sameFile(const FileAttributes& file) const;
  };

  std::optional<std::string> finderDir() const;
  void reload();
  void reloadStatusFile();
  struct LoadedRoots;
  static std::unique_ptr<LoadedRoots> indexRoots(std::vector<RootStatus> decoded);
  void failLoad(const FileAttributes& file, std::string line);
  void publishWatchedFolders(const std::vector<std::string>& folders);

  std::optional<Location> locate(std::string_view itemPath) const;
  std::optional<BadgeId> badgeIdentifier(const std::string& itemPath);
  void reevaluateCachedBadges();
  void registerBadges();

  std::optional<std::string> actingURL();
  void performCopyLink();
  // Writes the command of `action` (its name in log lines), or logs why not.
  void writeCommand(std::string_view action, const Command& command);

  void trace(std::string_view message);
  void log(std::string_view line);

  Platform platform;

  std::vector<RootStatus> roots;
  CanonicalMap<CanonicalSet> syncedSets;
  CanonicalMap<CanonicalSet> keptSets;
  CanonicalMap<CanonicalSet> lockedSets;
  // Per element of `roots`, worked out once per load rather than once per
  // badge: what badge choice needs of it, whether its path is ASCII, and the
  // path's canonical spelling.
  std::vector<RootFacts> rootFacts;
  std::vector<bool> asciiRootPaths;
  std::vector<std::string> canonicalRootPaths;
  FileTime lastLoaded = FileTime::distantPast();
  std::optional<FailedLoad> lastFailedLoad;
  CanonicalMap<BadgeId> badgeCache;
  // The entries of badgeCache in the order their items were first asked
  // about, the order re-evaluation walks them in. The file manager asks about
  // a folder's items together, and the file system answers stats of
  // neighbouring items one after another far faster than the random walk of
  // the hash order.
  using CachedBadge = CanonicalMap<BadgeId>::value_type;
  std::vector<CachedBadge*> badgeCacheOrder;
  std::optional<std::string> lastMenuTarget;
};

}  // namespace quorbitz
