// SPDX-License-Identifier: Apache-2.0
// The ten menu actions: commands for the main application, or the root's
// link on the pasteboard.
#include "actions/command_file.h"
#include "actions/menu_actions.h"
#include "badging/root_location.h"
#include "status/finder_sync.h"

namespace quorbitz {

void FinderSync::keepLocal() { perform(Selector::keepLocal); }
void FinderSync::toggleLock() { perform(Selector::toggleLock); }
void FinderSync::importResolve() { perform(Selector::importResolve); }
void FinderSync::syncNow() { perform(Selector::syncNow); }
void FinderSync::copyLink() { perform(Selector::copyLink); }
void FinderSync::setMasters() { perform(Selector::setMasters); }
void FinderSync::setReview() { perform(Selector::setReview); }
void FinderSync::followLink() { perform(Selector::followLink); }
void FinderSync::folderLink() { perform(Selector::folderLink); }
void FinderSync::uploadLink() { perform(Selector::uploadLink); }

// Every action comes through here; out of memory, the action is lost
// rather than the file manager.
void FinderSync::perform(Selector selector) try {
  const std::string name(actionLogName(selector));
  if (selector == Selector::syncNow) {
    log("quorbitzFS: " + name);
    writeCommand(name, *commandFor(selector, {}));
    return;
  }
  if (selector == Selector::copyLink) {
    performCopyLink();
    return;
  }
  std::optional<std::string> item = actingURL();
  if (!item) {
    if (logsMissingItem(selector)) log("quorbitzFS: " + name + " \u2014 no acting url");
    return;
  }
  if (logsItemPath(selector)) log("quorbitzFS: " + name + " " + *item);
  writeCommand(name, *commandFor(selector, *item));
} catch (...) {
}

void FinderSync::performCopyLink() {
  std::optional<std::string> item = actingURL();
  std::optional<Location> location;
  if (item) location = locate(*item);
  if (!location) {
    log("quorbitzFS: copyLink \u2014 no acting url");
    return;
  }
  const std::string& link = location->root->link;
  log("quorbitzFS: copyLink " + link);
  platform.pasteboard.clearContents();
  platform.pasteboard.setString(link);
}

// A command that is lost says so: the action's own line reads like success.
void FinderSync::writeCommand(std::string_view action, const Command& command) {
  std::optional<std::string> dir = finderDir();
  std::optional<std::string> refusal =
      dir ? writeCommandFile(platform.files, *dir, command) : "no group container";
  if (refusal) {
    log("quorbitzFS: " + std::string(action) + " \u2014 command not written: " + *refusal);
  }
}

}  // namespace quorbitz
