// SPDX-License-Identifier: Apache-2.0
// The host binary driven as a user or a script would, over real containers.
// A lock's round trip through the main application is the contract test's
// (tests/contract/integration_example.py); how soon a rewrite shows is the
// file-manager end-to-end tests'.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
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
    ASSERT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 stat")) << "load " << load;
  }
  // Written aside and renamed, as the main application does.
  temp.write("finder/status.tmp", statusJson({rootJson(temp.path())}));
  fs::rename(temp.path() + "/finder/status.tmp", temp.path() + "/finder/status.json");
  EXPECT_TRUE(host.waitFor("log \"quorbitzFS: reload \u2014 1 roots\""));
  EXPECT_EQ(host.finish(), 0);
}

// What the host prints on standard error for `args`, and its exit status.
std::pair<std::string, int> standardError(const std::vector<std::string>& args) {
  std::string command = QUORBITZ_HOST_BINARY;
  for (const std::string& arg : args) command += " '" + arg + "'";
  FILE* pipe = ::popen((command + " 2>&1 >/dev/null </dev/null").c_str(), "r");
  std::string text;
  for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) text += static_cast<char>(c);
  const int status = pipe ? ::pclose(pipe) : -1;
  return {text, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(HostEndToEnd, CommandLineAnswersWithItsExitStatus) {
  TempDir temp, home;
  // check-status refuses what the extension refuses, and says where and why.
  const std::string huge = temp.path() + "/huge.json", fifo = temp.path() + "/fifo.json";
  temp.write("huge.json", R"({"version":1,"roots":[]})");
  fs::resize_file(huge, (size_t{128} << 20) + 1);  // a hole: nothing is written
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  temp.write("broken.json", "{\n \"version\": 1,\n \"roots\": [,]}");
  temp.write("one.json", statusJson({rootJson("/home/ann/Film/")}));
  struct Case {
    std::vector<std::string> args, environment;
    std::string input;
    int status;
    std::string output;
  };
  const std::vector<Case> cases = {
      {{"--help"}, {}, "", 0, "setBadgeIdentifier ID PATH"},
      {{"demo", "--keep", temp.path() + "/demo"}, {}, "", 0, "Footage: synced -> locked"},
      // A temporary folder that is missing does not stop the demo.
      {{"demo"}, {"TMPDIR=" + temp.path() + "/missing"}, "", 0, "Demo finished."},
      {{"check-status", huge}, {}, "", 1, "over the extension's limit of 134217728 bytes"},
      {{"check-status", fifo}, {}, "", 1, "not a regular file"},
      {{"check-status", temp.path() + "/broken.json"}, {}, "", 1, "at line 3, column 12"},
      {{"check-status", temp.path() + "/one.json"}, {}, "", 0, "(1 root, 1 warning)"},
      // A home folder that does not exist is no group container: nothing is
      // made of it for a command.
      {{"run", "--no-timer"},
       {"HOME=" + home.path() + "/gone", "XDG_DATA_HOME=", "XDG_RUNTIME_DIR="},
       "action syncNow:\n", 0,
       "log \"quorbitzFS: syncNow \u2014 command not written: no group container\""},
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
  // Bad arguments: status 2 and one line, which names what is wrong.
  for (const auto& [args, says] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"run", "--frob"}, "--frob"}, {{"demo", "--keep"}, "--keep needs a folder"},
           {{"check-status", "--no-such-option"}, "--no-such-option"},
           {{}, "a command is needed"}}) {
    const auto [text, status] = standardError(args);
    EXPECT_THAT(text, HasSubstr(says));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(status, 2) << says;
  }
}

}  // namespace
}  // namespace quorbitz::testing
