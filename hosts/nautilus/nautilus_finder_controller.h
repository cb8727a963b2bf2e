// SPDX-License-Identifier: Apache-2.0
// The file manager's side of the controller, played by Nautilus.
//
// How Nautilus differs from the file manager the seam was modelled on: it has
// no registry of watched folders or badges, so this class keeps both. It asks
// for an item's emblems (update_file_info) and takes the answer only during
// that call, so a badge assigned later is remembered and Nautilus is told to
// ask again. It does not report a selection between menu requests, so the
// selection is the one given with the last menu request.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "nautilus/emblem_icons.h"
#include "platform/platform.h"

namespace quorbitz {

// What Nautilus gave with a menu request: the selected items, or the folder
// whose background was clicked.
struct MenuContext {
  std::optional<std::vector<std::string>> selection;
  std::optional<std::string> targeted;
};

class NautilusFinderController final : public FinderController {
 public:
  // `runLoop` carries the re-asks out of the controller's calls; `emblems`
  // receives the badge images.
  NautilusFinderController(RunLoop& runLoop, EmblemIcons emblems);

  std::optional<std::vector<std::string>> directoryURLs() override { return watched_; }
  void setDirectoryURLs(const std::vector<std::string>& paths) override;
  void setBadgeImage(const ImageRef& image, std::string_view label,
                     std::string_view identifier) override;
  void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath) override;
  std::optional<std::vector<std::string>> selectedItemURLs() override {
    return menuContext_.selection;
  }
  std::optional<std::string> targetedURL() override { return menuContext_.targeted; }

  bool isWatched(std::string_view path) const;
  void reportMenuContext(MenuContext context) { menuContext_ = std::move(context); }

  // Marks `path` as the item Nautilus is asking about, so that a badge
  // assigned meanwhile is its answer rather than a change to announce.
  void beginBadgeRequest(const std::string& path) { requestedPath_ = path; }
  // Ends the request; the emblem to show for `path`, if it ever had a badge.
  std::optional<std::string> endBadgeRequest(const std::string& path);

 private:
  void askAgainLater(const std::string& path);
  void askAgainNow();

  RunLoop& runLoop_;
  EmblemIcons emblems_;
  std::optional<std::vector<std::string>> watched_;
  std::unordered_map<std::string, std::string> lastBadges_;
  std::optional<std::string> requestedPath_;
  std::unordered_set<std::string> pendingReasks_;
  MenuContext menuContext_;
};

}  // namespace quorbitz
