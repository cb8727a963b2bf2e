// SPDX-License-Identifier: Apache-2.0
// The host binary driven as a user or a script would, over real containers.
// A lock's round trip through the main application is the contract test's
// (tests/contract/integration_example.py); how soon a rewrite shows is the
// file-manager end-to-end tests'.
#include <gmock/gmock.h>

#include <filesystem>

#include "support/fake_platform.h"
#include "support/host_process.h"

namespace quorbitz::testing {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

// Without --no-timer the polling timer ticks on, each tick saying again that
// the status file is missing, until the file appears.
TEST(HostEndToEnd, PollingTimerReloadsUntilTheStatusFileAppears) {
  TempDir temp;
  HostProcess host({"run", "--container", temp.path()});
  for (int load = 0; load < 3; ++load) {
    ASSERT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 stat"))
        << "load " << load;
  }
  // Written aside and renamed, as the main application does.
  temp.write("finder/status.tmp", statusJson({rootJson(temp.path())}));
  fs::rename(temp.path() + "/finder/status.tmp", temp.path() + "/finder/status.json");
  EXPECT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 1 roots\""));
  EXPECT_EQ(host.finish(), 0);
}

TEST(HostEndToEnd, CommandLineAnswersWithItsExitStatus) {
  TempDir temp, home;
  struct Case {
    std::vector<std::string> args, environment;
    std::string input;
    int status;
    std::string output;
  };
  const std::vector<Case> cases = {
      {{"run", "--frob"}, {}, "", 2, ""},
      {{"check-status", "--no-such-option"}, {}, "", 2, ""},
      {{}, {}, "", 2, ""},
      {{"--help"}, {}, "", 0, "setBadgeIdentifier ID PATH"},
      {{"demo", "--keep", temp.path() + "/demo"}, {}, "", 0, "Footage: synced -> locked"},
      // A temporary folder that is missing does not stop the demo.
      {{"demo"}, {"TMPDIR=" + temp.path() + "/missing"}, "", 0, "Demo finished."},
      // Without a container nothing is written anywhere; without a runtime
      // folder GLib's file layer would make one in the home folder, which
      // drawing the badges must not reach.
      {{"run", "--no-container", "--no-timer"},
       {"HOME=" + home.path(), "XDG_DATA_HOME=" + home.path() + "/data",
        "XDG_RUNTIME_DIR="},
       "tick\nbadge /x/y\nselect /x/y\naction syncNow:\naction toggleLock:\nobserve /x\n",
       0,
       "log \"quorbitzFS: syncNow\"\n"
       "log \"quorbitzFS: syncNow \u2014 command not written: no group container\"\n"
       "log \"quorbitzFS: toggleLock /x/y\""},
  };
  for (const Case& c : cases) {
    std::string output;
    EXPECT_EQ(runHost(c.args, &output, c.input, c.environment), c.status) << output;
    EXPECT_THAT(output, HasSubstr(c.output));
  }
  EXPECT_TRUE(fs::is_empty(home.path()));
}

}  // namespace
}  // namespace quorbitz::testing
