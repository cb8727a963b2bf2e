// SPDX-License-Identifier: Apache-2.0
// The file manager's side of the controller, played by a GTK file manager
// (Nautilus, Nemo, Caja, Thunar).
//
// How these differ from the file manager the seam was modelled on: they have
// no registry of watched folders, so this class keeps one. They ask for an
// item's emblems (update_file_info), take the answer only during that call
// and keep the emblems until the item is invalidated, so a badge assigned or
// withdrawn later makes the file manager ask again through `invalidate`. That
// question is the file manager's way of taking the pushed badge, not a new
// request: it is answered with the badge pushed (none removes the emblem),
// without asking the controller, as the Finder takes a pushed badge with no
// request of its own. They do not report a selection between menu
// requests, so the selection is the one given with the last menu request.
//
// The status file's first load runs beside the file manager, which shows its
// first window meanwhile: the items it asks about before that load has ended
// get no badge then, and it is asked about them again once the load is in
// force.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "file-manager-common/ask_again_queue.h"
#include "file-manager-common/emblem_icons.h"
#include "platform/platform.h"

namespace quorbitz {

// What the file manager gave with a menu request: the selected items, or the
// folder whose background was clicked.
struct MenuContext {
  std::optional<std::vector<std::string>> selection;
  std::optional<std::string> targeted;
};

class FileManagerFinderController final : public FinderController {
 public:
  // `emblems` receives the badge images; `invalidate` is called from the
  // main loop, never inside a controller call, since file managers ask again
  // at once, from inside the invalidation. `inSight` names the items shown
  // in sight, told first; none where the file manager cannot say.
  FileManagerFinderController(EmblemIcons emblems, InvalidateItem invalidate,
                              NamesInSight inSight = nullptr);

  std::optional<std::vector<std::string>> directoryURLs() override { return watched_; }
  void setDirectoryURLs(const std::vector<std::string>& paths) override;
  void setBadgeImage(const ImageRef& image, std::string_view label,
                     std::string_view identifier) override;
  void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath,
                          bool isFolder) override;
  void badgeWithdrawn(std::string_view itemPath, bool isFolder) override;
  void firstLoadEnded() override;
  // The names in sight in the folders the file manager asked about last.
  std::vector<std::string> itemPathsInSight() override;
  std::optional<std::vector<std::string>> selectedItemURLs() override {
    return menuContext_.selection;
  }
  std::optional<std::string> targetedURL() override { return menuContext_.targeted; }

  // True for an item inside a watched folder, the only items the file
  // manager is to ask the controller about. Until the first load has ended
  // no item is, and the file manager is asked again about those it asked
  // about meanwhile.
  bool isWatched(std::string_view path);
  void reportMenuContext(MenuContext context) { menuContext_ = std::move(context); }

  // Marks `path` as the item the file manager is asking about, so that a
  // badge assigned meanwhile is its answer rather than a change to announce,
  // and a change of it still waiting to be announced needs announcing no
  // more.
  void beginBadgeRequest(const std::string& path);
  // Ends the request; the identifier of the badge the controller gave, if any.
  std::optional<std::string> endBadgeRequest();
  // True while the file manager is being told to ask again about `path`
  // after a badge was pushed for it; `identifier` is then the badge pushed,
  // none when it was withdrawn.
  bool answerPushed(std::string_view path, std::optional<std::string>& identifier) const;

 private:
  EmblemIcons emblems_;
  AskAgainQueue askAgain_;
  std::optional<std::vector<std::string>> watched_;
  bool firstLoadOver_ = false;
  std::unordered_set<std::string> askedBeforeFirstLoad_;
  struct Told {
    std::string path;
    std::optional<std::string> pushed;
  };
  std::optional<Told> told_;
  NamesInSight inSight_;
  // The folders of the last items the file manager asked about, the latest
  // first: the folders its windows show.
  std::vector<std::string> recentFolders_;
  std::optional<std::string> requestedPath_;
  std::optional<std::string> answer_;
  MenuContext menuContext_;
};

}  // namespace quorbitz
