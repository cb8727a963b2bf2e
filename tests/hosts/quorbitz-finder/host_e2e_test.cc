// SPDX-License-Identifier: Apache-2.0
// The host binary driven as a user or a script would, over real containers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/host_process.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class HostEndToEnd : public ::testing::Test {
 protected:
  std::string container() const { return temp.path() + "/c"; }
  std::string root() const { return temp.path() + "/Film"; }
  std::string statusFile() const { return container() + "/finder/status.json"; }

  // Written aside and renamed, as the main application does.
  void writeStatus(const std::string& locked) const {
    temp.write("c/finder/status.tmp",
               statusJson({rootJson(root(), locked, R"(["clip.mov"])")}));
    fs::rename(container() + "/finder/status.tmp", statusFile());
  }

  TempDir temp;
};

TEST_F(HostEndToEnd, LockingAFolderRoundTripsThroughTheMainApplication) {
  temp.makeFolder("Film/Footage");
  temp.write("Film/clip.mov", "x");
  writeStatus("[]");
  HostProcess host({"run", "--container", container(), "--no-timer"});
  host.linesUntilEcho();
  host.send("ls " + root());
  EXPECT_THAT(host.linesUntilEcho(),
              ElementsAre("setBadgeIdentifier \"synced\" \"" + root() + "/Footage\"",
                          "setBadgeIdentifier \"synced\" \"" + root() + "/clip.mov\""));
  host.send("target " + root() + "/Footage");
  host.send("menu 1");
  std::vector<std::string> menu = host.linesUntilEcho();
  EXPECT_THAT(menu, Contains("item 2 \"Lock Folder\" toggleLock: off"));
  host.send("click 2");
  EXPECT_THAT(host.linesUntilEcho(),
              ElementsAre("log \"quorbitzFS: toggleLock " + root() + "/Footage\""));

  std::vector<std::string> commands = filesIn(container() + "/finder/commands");
  ASSERT_EQ(commands.size(), 1u);
  std::string escapedRoot = root();
  for (size_t at = 0; (at = escapedRoot.find('/', at)) != std::string::npos; at += 2) {
    escapedRoot.replace(at, 1, "\\/");
  }
  EXPECT_EQ(readWholeFile(commands[0]),
            R"({"action":"toggle_lock","path":")" + escapedRoot + R"(\/Footage"})");

  writeStatus(R"(["Footage"])");
  host.send("tick");
  EXPECT_THAT(host.linesUntilEcho(),
              ElementsAre("log \"quorbitzFS: reload \u2014 1 roots\"",
                          "setBadgeIdentifier \"locked\" \"" + root() + "/Footage\""));
  host.send("menu 1");
  EXPECT_THAT(host.linesUntilEcho(),
              Contains("item 2 \"Unlock Folder\" toggleLock: off"));
  EXPECT_EQ(host.finish(), 0);
}

TEST_F(HostEndToEnd, TimerTicksEveryThreeSecondsAndRewritesShowAtOnce) {
  HostProcess host({"run", "--container", container()});
  ASSERT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 stat", 10s));
  auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 stat", 10s));
  // A lower bound only: the machine may be slow, never early.
  EXPECT_GE(std::chrono::steady_clock::now() - started, 2800ms);

  temp.makeFolder("c/finder");
  writeStatus("[]");
  ASSERT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 1 roots\"", 10s));
  auto loaded = std::chrono::steady_clock::now();
  writeStatus(R"(["Footage"])");
  ASSERT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 1 roots\"", 10s));
  EXPECT_LT(std::chrono::steady_clock::now() - loaded, 2500ms)
      << "the rewrite was picked up by the timer, not by the file monitor";
  EXPECT_EQ(host.finish(), 0);
}

TEST_F(HostEndToEnd, WithoutAContainerNothingIsWrittenAnywhere) {
  // Without a runtime folder GLib's file layer would make one in the home
  // folder: drawing the badges must not reach it.
  std::string output;
  int status =
      runHost({"run", "--no-container", "--no-timer"}, &output,
              "tick\nbadge /x/y\nselect /x/y\naction syncNow:\naction toggleLock:\n"
              "observe /x\nquit\n",
              {"HOME=" + temp.path(), "XDG_DATA_HOME=" + temp.path() + "/data",
               "XDG_RUNTIME_DIR="});
  EXPECT_EQ(status, 0);
  EXPECT_THAT(output,
              HasSubstr("log \"quorbitzFS: reload \u2014 no group container\"\n"
                        "log \"quorbitzFS: reload \u2014 no group container\"\n"));
  EXPECT_THAT(output,
              HasSubstr("log \"quorbitzFS: syncNow\"\n"
                        "log \"quorbitzFS: syncNow \u2014 command not written: no group "
                        "container\"\nlog \"quorbitzFS: toggleLock /x/y\""));
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(HostEndToEnd, BadInputGivesErrorsAndTheHostCarriesOn) {
  std::string output;
  int status = runHost(
      {"run", "--container", container(), "--no-timer"}, &output,
      "frobnicate\nbadge 'open quote\nmenu x\nclick 1\nsleep -1\n"
      "badge\naction nope:\n   \n# a comment\nbadge /bad\xff/x\necho still here\n");
  EXPECT_EQ(status, 0);
  EXPECT_THAT(output, HasSubstr("error \"unknown command: frobnicate\""));
  EXPECT_THAT(output, HasSubstr("error \"usage: badge PATH\""));
  EXPECT_THAT(output, HasSubstr("error \"no menu to click in\""));
  EXPECT_THAT(output, HasSubstr("error \"unknown action: nope:\""));
  EXPECT_THAT(output, HasSubstr("echo \"still here\""));
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'),
            6 + 1 + 7 + 1);  // badges, stat failure, errors, echo
}

TEST_F(HostEndToEnd, CommandLineAndDemo) {
  std::string output;
  EXPECT_EQ(runHost({"run", "--frob"}, &output), 2);
  EXPECT_EQ(runHost({}, &output), 2);
  EXPECT_EQ(runHost({"--help"}, &output), 0);
  EXPECT_THAT(output, HasSubstr("setBadgeIdentifier ID PATH"));

  EXPECT_EQ(runHost({"run", "--no-timer", "--container", container(), "--badge-dir",
                     temp.path()},
                    &output, "quit\n"),
            0);
  for (std::string id : {"synced", "pending", "locked", "kept", "masters", "review"}) {
    EXPECT_TRUE(fs::exists(temp.path() + "/" + id + ".png")) << id;
    EXPECT_TRUE(fs::exists(temp.path() + "/" + id + "@2x.png")) << id;
  }

  EXPECT_EQ(runHost({"demo", "--keep", temp.path() + "/demo"}, &output), 0);
  EXPECT_THAT(output, HasSubstr("Footage: synced -> locked"));
  EXPECT_THAT(output, HasSubstr("Unlock Folder"));
  EXPECT_THAT(output, HasSubstr("Demo finished."));
}

}  // namespace
}  // namespace quorbitz::testing
