// SPDX-License-Identifier: Apache-2.0
// The controller through the fake platform, over a real temporary container.
#include "status/finder_sync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/controller_fixture.h"
#include "support/fault_file_system.h"

namespace quorbitz::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using FinderSyncTest = ControllerTest;

// A small ext4 file system whose 128-byte inodes keep whole seconds, mounted
// at `folder` for one test.
struct WholeSecondFileSystem {
  explicit WholeSecondFileSystem(const std::string& at) : folder("'" + at + "'") {
    std::filesystem::create_directories(at);
    const std::string image = "'" + at + ".img'";
    const std::string make = "truncate -s 4M " + image + " && mkfs.ext4 -qF -I 128 " + image +
                             " >/dev/null 2>&1 && mount -o loop " + image + " " + folder;
    mounted = geteuid() == 0 && std::system((make + " 2>/dev/null").c_str()) == 0;
  }
  ~WholeSecondFileSystem() {
    if (mounted && std::system(("umount " + folder).c_str()) != 0) ADD_FAILURE();
  }
  std::string folder;
  bool mounted;
};

// Two versions of status.json written within one second have the same dates
// there: the one renamed into place, the way the main application writes
// it, differs in its inode; the one written over the last in place, at the
// same size, in nothing a stat shows.
TEST_F(FinderSyncTest, RewritesWithinOneSecondLoadWhereDatesKeepWholeSeconds) {
  WholeSecondFileSystem coarse(fake.temp.path() + "/container");
  if (!coarse.mounted) {
    GTEST_SKIP() << "mounting a file system with whole-second dates needs root, mkfs.ext4 "
                    "and a loop device";
  }
  std::filesystem::create_directories(fake.finderDir());
  const std::string locked = goodDocument();
  std::string unlocked = locked;
  unlocked.replace(unlocked.find("\"Footage\""), 9, "\"Footagx\"");
  const std::string status = statusPath();
  auto inPlace = [&](const std::string& bytes) { std::ofstream(status) << bytes; };
  auto renamed = [&](const std::string& bytes) {
    std::ofstream(status + ".new") << bytes;
    std::filesystem::rename(status + ".new", status);
  };
  auto dates = [&] {
    struct stat info {};
    stat(status.c_str(), &info);
    return std::pair(info.st_mtime, info.st_ctime);
  };
  for (const auto& rewrite : {std::function(renamed), std::function(inPlace)}) {
    // A second that ends between the two writes makes no case: try again.
    for (int attempt = 0; attempt < 5; ++attempt) {
      renamed(locked);
      start();
      const auto loaded = dates();
      rewrite(unlocked);
      if (dates() == loaded) break;
    }
    logs();
    calls();
    fake.tick();
    EXPECT_THAT(logs(), ElementsAre("quorbitzFS: reload \u2014 1 roots"));
    controller->requestBadgeIdentifierForURL(footage());
    EXPECT_THAT(calls(), ElementsAre("setBadgeIdentifier synced " + footage() + "/"));
  }
}

TEST_F(FinderSyncTest, StartUpRegistersBadgesThenLoadsThenStartsTheTimer) {
  startWithOneRoot();
  EXPECT_THAT(calls(),
              ElementsAre("setBadgeImage synced Synced", "setBadgeImage pending Syncing",
                          "setBadgeImage locked Locked", "setBadgeImage kept Kept local",
                          "setBadgeImage masters Masters \u2014 clients download this",
                          "setBadgeImage review Video Review \u2014 exports here go to review",
                          "setDirectoryURLs " + root()));
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: reload \u2014 1 roots"));
  EXPECT_THAT(fake.runLoop.intervals, ElementsAre(std::chrono::milliseconds(3000)));
  EXPECT_THAT(fake.traceMessages(), ElementsAre("directoryURLs -> [\"" + root() + "\"]"));
  // Ticks go through the main queue, and stop mattering once released.
  fake.writeStatus(statusJson({}));
  fake.runLoop.fireTimers();
  EXPECT_THAT(logs(), IsEmpty());
  ASSERT_EQ(fake.runLoop.queue.size(), 1u);
  fake.runLoop.drain();
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: reload \u2014 0 roots"));
  controller.reset();
  fake.writeStatus(statusJson({rootJson(root())}));
  fake.tick();
  EXPECT_THAT(logs(), IsEmpty());
}

// What a damaged or odd status.json leaves in force is the fault tests' concern.
TEST_F(FinderSyncTest, OnlyAChangedFileIsReadAgain) {
  start();
  logs();
  fake.writeStatus(statusJson({rootJson(root())}));
  fake.tick();
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: reload \u2014 1 roots"));
  fake.tick();
  EXPECT_THAT(logs(), IsEmpty()) << "an unchanged file is not read again";
  // A date set back is a change too.
  const std::string status = fake.finderDir() + "/status.json";
  struct timespec earlier[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
  utimensat(AT_FDCWD, status.c_str(), earlier, 0);
  fake.tick();
  EXPECT_EQ(logs().size(), 1u) << "earlier date";
  // A file that failed logs its failure on every tick, but is read again
  // only once it changes: here its change time, by a chmod.
  fake.writeStatus(R"({"version":1,"roots":[{"path":"/x"}]})");
  const std::string failed = "quorbitzFS: reload \u2014 decode failed: roots[0].direction: missing";
  fake.files.reads = 0;
  fake.tick();
  fake.tick();
  EXPECT_THAT(logs(), ElementsAre(failed, failed));
  EXPECT_EQ(fake.files.reads, 1);
  chmod(status.c_str(), 0600);
  fake.tick();
  EXPECT_THAT(logs(), ElementsAre(failed));
  EXPECT_EQ(fake.files.reads, 2);
}

// The look that ends a load finds a rewrite that landed while it ran.
TEST_F(FinderSyncTest, ARewriteDuringALoadIsLoadedWhenTheLoadEnds) {
  start();
  fake.writeStatus(statusJson({rootJson(root())}));
  fake.runLoop.fireTimers();
  fake.runLoop.runOne();  // the tick,
  fake.runLoop.runOne();  // then the load beside it
  fake.writeStatus(statusJson({}));
  logs();
  fake.runLoop.drain();
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: reload \u2014 1 roots",
                                  "quorbitzFS: reload \u2014 0 roots"));
}

// A file manager's first load runs beside it like every later one; it is
// told when that load is over.
TEST_F(FinderSyncTest, AFirstLoadInTheBackgroundLeavesStartUpAtOnce) {
  fake.writeStatus(goodDocument());
  controller = FinderSync::create(fake.platform(), FirstLoad::inBackground);
  EXPECT_EQ(fake.files.reads, 0);
  EXPECT_EQ(fake.finder.firstLoadsEnded, 0);
  fake.runLoop.drain();
  EXPECT_EQ(fake.finder.firstLoadsEnded, 1);
  calls();
  expectGoodDocumentInForce();
}

TEST_F(FinderSyncTest, WatchedFoldersArePublishedOnlyWhenTheyChange) {
  fake.writeStatus(R"({"version":1,"roots":[]})");
  start();
  EXPECT_EQ(calls().back(), "setDirectoryURLs");
  // The same folder listed again, in another Unicode spelling, is one folder.
  const std::string a = rootJson(root() + "/A"), b = rootJson(root() + "/Caf\xC3\xA9");
  fake.writeStatus(statusJson({a, b}));
  fake.tick();
  EXPECT_THAT(calls(),
              ElementsAre("setDirectoryURLs " + root() + "/A " + root() + "/Caf\xC3\xA9"));
  fake.writeStatus(statusJson({b, a, rootJson(root() + "/Cafe\xCC\x81")}));
  fake.tick();
  EXPECT_THAT(calls(), IsEmpty());
  EXPECT_EQ(logs().back(), "quorbitzFS: reload \u2014 3 roots");
  EXPECT_EQ(fake.traceMessages().size(), 2u);
}

TEST_F(FinderSyncTest, ReevaluationReassignsChangedBadgesAndDropsLostOnesSilently) {
  fake.temp.write("Film/gone.mov", "x");
  startWithOneRoot();
  for (auto item : {"/Footage", "/clip.mov", "/gone.mov"}) {
    controller->requestBadgeIdentifierForURL(root() + item);
  }
  calls();
  const std::string traced = readWholeFile(fake.finderDir() + "/appex-trace.log");

  fake.writeStatus(statusJson({rootJson(root(), R"(["Footage"])")}));
  std::filesystem::remove(root() + "/gone.mov");
  fake.tick();
  EXPECT_THAT(calls(), ElementsAre("setBadgeIdentifier locked " + root() + "/Footage/"));
  for (auto [item, locked] : {std::pair{"/Footage", true}, {"/Footage/a", true}, {"", false}}) {
    EXPECT_EQ(controller->itemStatus(root() + item).value_or(ItemStatus{}).locked, locked) << item;
  }
  EXPECT_EQ(readWholeFile(fake.finderDir() + "/appex-trace.log"), traced);

  fake.writeStatus(statusJson({}));
  fake.tick();
  EXPECT_THAT(calls(), ElementsAre("setDirectoryURLs"));
  fake.writeStatus(statusJson({rootJson(root())}));
  fake.tick();
  EXPECT_THAT(calls(), ElementsAre("setDirectoryURLs " + root()))
      << "dropped entries are not re-assigned when their root comes back";
}

// A re-evaluation yields to the file manager between batches, the items in
// sight first; a newer load takes over the walk, and no item ends on a badge
// older than the newest.
TEST_F(FinderSyncTest, ANewerLoadSupersedesAnUnfinishedReevaluation) {
  startWithOneRoot();
  std::string synced;
  for (int index = 0; index < 600; ++index) {
    synced += (index ? ",\"" : "[\"") + std::to_string(index) + "\"";
    controller->requestBadgeIdentifierForURL(root() + "/" + std::to_string(index));
  }
  calls();
  fake.finder.inSight = {root() + "/599", root() + "/elsewhere", root() + "/598"};
  fake.writeStatus(statusJson({rootJson(root(), "[]", synced + "]")}));
  fake.runLoop.fireTimers();
  std::vector<std::string> told;
  while (told.empty() && fake.runLoop.runOne()) told = calls();
  EXPECT_THAT(told, ElementsAre("setBadgeIdentifier synced " + root() + "/599",
                                "setBadgeIdentifier synced " + root() + "/598"));
  ASSERT_FALSE(fake.runLoop.queue.empty()) << "the walk took one batch";
  fake.writeStatus(statusJson({rootJson(root())}));
  fake.tick();
  for (const std::string& call : calls()) told.push_back(call);
  std::map<std::string, std::string> last;
  for (const std::string& call : told) last[call.substr(call.rfind(' ') + 1)] = call;
  for (const auto& [item, call] : last) EXPECT_THAT(call, ::testing::HasSubstr(" pending ")) << item;
}

// The cached items' stats go out with the load of a changed status, and
// their badges wait for it; an item first asked about meanwhile was answered
// under the status that the load replaces.
TEST_F(FinderSyncTest, ALoadsStatsRunBesideItAndItsBadgesWaitForIt) {
  startWithOneRoot();
  controller->requestBadgeIdentifierForURL(root() + "/a.mov");
  fake.writeStatus(statusJson({rootJson(root(), "[]", R"(["a.mov", "b.mov"])")}));
  fake.runLoop.fireTimers();
  fake.runLoop.runOne();  // the tick
  ASSERT_EQ(fake.runLoop.queue.size(), 2u) << "the load and the stats";
  std::function<void()> load = std::move(fake.runLoop.queue.front());
  fake.runLoop.queue.pop_front();
  fake.runLoop.drain();
  controller->requestBadgeIdentifierForURL(root() + "/b.mov");
  calls();
  load();
  fake.runLoop.drain();
  EXPECT_THAT(calls(), ::testing::UnorderedElementsAre(
                           "setBadgeIdentifier synced " + root() + "/a.mov",
                           "setBadgeIdentifier synced " + root() + "/b.mov"));
}

TEST_F(FinderSyncTest, BadgeRequestsAreTracedCachedAndAssignedAsDelivered) {
  fake.temp.write("Film/a.mov", "x");
  startWithOneRoot();
  calls();
  controller->requestBadgeIdentifierForURL(root());
  controller->requestBadgeIdentifierForURL(root() + "/a.mov");
  controller->requestBadgeIdentifierForURL(root() + "/.DS_Store");
  controller->beginObservingDirectoryAtURL(root());
  controller->endObservingDirectoryAtURL(root());
  EXPECT_THAT(calls(), ElementsAre("setBadgeIdentifier pending " + root() + "/a.mov"));
  // What a column or property page asks leaves no trace and assigns nothing.
  std::optional<ItemStatus> item = controller->itemStatus(root() + "/a.mov");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->badge, BadgeId::pending);
  EXPECT_EQ(item->project + " " + item->link + " " + item->direction, "L https://x.test/Film up");
  EXPECT_EQ(controller->itemStatus(root())->badge, std::nullopt);
  EXPECT_FALSE(controller->itemStatus(fake.temp.path() + "/Other"));
  EXPECT_THAT(calls(), IsEmpty());
  EXPECT_THAT(fake.traceMessages(), ElementsAre("directoryURLs -> [\"" + root() + "\"]",
                                                "badge? " + root() + " -> none",
                                                "badge? " + root() + "/a.mov -> pending",
                                                "badge? " + root() + "/.DS_Store -> none",
                                                "observe " + root(), "end-observe " + root()));
}

// With no item to act on, an action that needs one says so and writes nothing;
// a menu remembers its located target for the actions that follow.
TEST_F(FinderSyncTest, ActionsNeedAnItemAndMenusRememberLocatedTargets) {
  fake.temp.makeFolder("Film/F");
  startWithOneRoot();
  logs();
  using enum Selector;
  for (Selector s : {keepLocal, toggleLock, importResolve, copyLink, setMasters, uploadLink})
    controller->perform(s);
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: keepLocal \u2014 no acting url",
                                  "quorbitzFS: toggleLock \u2014 no acting url",
                                  "quorbitzFS: copyLink \u2014 no acting url"));
  EXPECT_FALSE(std::filesystem::exists(fake.finderDir() + "/commands"));
  fake.finder.selection = std::vector<std::string>{"/elsewhere"};
  EXPECT_TRUE(controller->menuForMenuKind(0).items.empty());
  fake.finder.selection.reset();
  fake.finder.targeted = root() + "/F";
  EXPECT_EQ(controller->menuForMenuKind(1).items.size(), 7u);
  fake.finder.targeted.reset();
  EXPECT_TRUE(controller->menuForMenuKind(2).items.empty());
  controller->toggleLock();
  controller->uploadLink();
  controller->copyLink();
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: menu no acting url (kind 0)",
                                  "quorbitzFS: menu for " + root() + "/F (rel 'F')",
                                  "quorbitzFS: menu no acting url (kind 2)",
                                  "quorbitzFS: toggleLock " + root() + "/F",
                                  "quorbitzFS: uploadLink " + root() + "/F",
                                  "quorbitzFS: copyLink https://x.test/Film"));
  EXPECT_THAT(fake.pasteboard.calls, ElementsAre("clear", "set https://x.test/Film"));
  EXPECT_EQ(filesIn(fake.finderDir() + "/commands").size(), 2u);
  controller->syncNow();
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: syncNow"));
  EXPECT_EQ(filesIn(fake.finderDir() + "/commands").size(), 3u);
}

TEST_F(FinderSyncTest, ToolbarImageIsAskedForOnEveryRead) {
  start();
  fake.drawing.symbols = {{"arrow.triangle.2.circlepath", {16, 16}}};
  EXPECT_EQ(controller->toolbarItemImage()->symbolName(), "arrow.triangle.2.circlepath");
  fake.drawing.symbols.clear();
  EXPECT_EQ(controller->toolbarItemImage()->symbolName(), "");
  EXPECT_EQ(fake.drawing.lookups.back(), "arrow.triangle.2.circlepath|Quorbitz");
  EXPECT_EQ(controller->toolbarItemToolTip(), "Quorbitz \u2014 synced folder actions");
}

}  // namespace
}  // namespace quorbitz::testing
