// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/file_manager_finder_controller.h"

#include <glib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/posix/posix_file_system.h"

namespace quorbitz {

// The toolkit's side, reached only when an emblem picture is drawn.
bool addIconSearchFolder(const std::string&) { return false; }
void rereadIconTheme() {}

namespace {

std::vector<std::string> askedAgain;
void askAgain(const std::string& path) { askedAgain.push_back(path); }

// The first load runs while the file manager shows its first window: the
// items it shows meanwhile are asked about again once that load is in force,
// if they lie in a watched folder; after a load that failed there is nothing
// to ask again, and nothing stays remembered.
TEST(FileManagerFinderController, AsksAgainAboutItemsShownBeforeTheFirstLoadEnded) {
  std::unique_ptr<FileSystem> files = newPosixFileSystem();
  for (bool loaded : {true, false}) {
    askedAgain.clear();
    FileManagerFinderController finder(EmblemIcons(*files, std::nullopt), &askAgain);
    EXPECT_FALSE(finder.isWatched("/r/shown"));
    EXPECT_FALSE(finder.isWatched("/elsewhere/shown"));
    if (loaded) finder.setDirectoryURLs({"/r"});
    finder.firstLoadEnded();
    EXPECT_EQ(finder.isWatched("/r/later"), loaded);
    // A change to announce, handed over in the same turn as whatever the
    // load queued.
    finder.setBadgeIdentifier("synced", "/s/changed", false);
    while (std::find(askedAgain.begin(), askedAgain.end(), "/s/changed") == askedAgain.end()) {
      g_main_context_iteration(nullptr, TRUE);
    }
    if (loaded) {
      EXPECT_THAT(askedAgain, ::testing::UnorderedElementsAre("/r/shown", "/s/changed"));
    } else {
      EXPECT_THAT(askedAgain, ::testing::ElementsAre("/s/changed"));
    }
  }
}

}  // namespace
}  // namespace quorbitz
