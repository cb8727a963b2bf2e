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
std::vector<std::string> pushedAnswers;
FileManagerFinderController* asking = nullptr;
void askAgain(const std::string& path) {
  askedAgain.push_back(path);
  std::optional<std::string> emblem;
  if (asking && asking->answerPushed(path, emblem)) {
    pushedAnswers.push_back(path + "=" + emblem.value_or("none"));
  }
}

// The first load runs while the file manager shows its first window: the
// items it shows meanwhile are asked about again once that load is in force,
// if they lie in a watched folder; after a load that failed there is nothing
// to ask again, and nothing stays remembered. A change is asked about again
// with the badge pushed as its answer.
TEST(FileManagerFinderController, AsksAgainAboutItemsShownBeforeTheFirstLoadEnded) {
  std::unique_ptr<FileSystem> files = newPosixFileSystem();
  for (bool loaded : {true, false}) {
    askedAgain.clear();
    pushedAnswers.clear();
    FileManagerFinderController finder(EmblemIcons(*files, std::nullopt), &askAgain);
    asking = &finder;
    EXPECT_FALSE(finder.isWatched("/r/shown"));
    EXPECT_FALSE(finder.isWatched("/elsewhere/shown"));
    if (loaded) finder.setDirectoryURLs({"/r"});
    finder.firstLoadEnded();
    EXPECT_EQ(finder.isWatched("/r/later"), loaded);
    // A change to announce, handed over in the same turn as whatever the
    // load queued.
    finder.setBadgeIdentifier("synced", "/s/changed", false);
    finder.badgeWithdrawn("/s/gone", false);
    std::vector<std::string> expected = {"/s/changed", "/s/gone"};
    if (loaded) expected.push_back("/r/shown");
    while (askedAgain.size() < expected.size()) g_main_context_iteration(nullptr, TRUE);
    EXPECT_THAT(askedAgain, ::testing::UnorderedElementsAreArray(expected));
    EXPECT_THAT(pushedAnswers, ::testing::UnorderedElementsAre(
                                   "/s/changed=synced", "/s/gone=none"));
    std::optional<std::string> emblem;
    EXPECT_FALSE(finder.answerPushed("/s/changed", emblem));
    asking = nullptr;
  }
}

}  // namespace
}  // namespace quorbitz
