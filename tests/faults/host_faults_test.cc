// SPDX-License-Identifier: Apache-2.0
// The real host fed hostile input, and with planted links where it puts its
// pictures: it answers, keeps going and ends normally. Odd paths through
// badges, menus and commands are OddPaths' concern: the host hands them on.
#include <gmock/gmock.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

#include "support/fake_platform.h"
#include "support/host_process.h"

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;

// The error and echo events of a run, each line ending in "\n".
std::string answersTo(const std::string& input) {
  std::string output, answers;
  EXPECT_EQ(runHost({"run", "--no-container", "--no-timer"}, &output, input), 0);
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("error ") || line.starts_with("echo ")) answers += line + "\n";
  }
  return answers;
}

TEST(HostFaults, HostileInputLinesGiveErrorsAndTheHostGoesOn) {
  const std::string tooLong =
      "error \"the line is longer than 1048576 bytes; it was skipped\"\n";
  const std::string longest((1 << 20) - 5, 'y');
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"echo crlf\r\necho next\r\n", "echo \"crlf\"\necho \"next\"\n"},
      {std::string("echo a\0b\necho next\n", 19),
       "error \"the line holds a NUL byte\"\necho \"next\"\n"},
      {std::string(3 << 20, 'x') + "\necho next\n", tooLong + "echo \"next\"\n"},
      {"echo " + longest + "\necho next", "echo \"" + longest + "\"\necho \"next\"\n"},
      {"echo next\n" + std::string((1 << 20) + 1, 'z'), "echo \"next\"\n" + tooLong},
      {"frobnicate\nmenu x\nmenu 4\nclick 1\nbadge\naction nope:\n   \n# a comment\necho next\n",
       "error \"unknown command: frobnicate\"\nerror \"usage: menu KIND (0 to 3)\"\n"
       "error \"usage: menu KIND (0 to 3)\"\n"
       "error \"no menu to click in\"\nerror \"usage: badge PATH\"\n"
       "error \"unknown action: nope:\"\necho \"next\"\n"},
      {"echo \"a \\\\ \\\"q\\\"\" 'b  c' bad-\xFF\nmenu 0\nclick 99\n",
       "echo \"a \\\\ \\\"q\\\" b  c bad-\xEF\xBF\xBD\"\n"
       "error \"no item 99 in the last menu\"\n"},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(answersTo(input), expected) << input.substr(0, 20);
  }
}

TEST(HostFaults, ClosedStandardInputEndsTheHost) {
  const std::string command = std::string("timeout 20 ") + QUORBITZ_HOST_BINARY +
                              " run --no-container --no-timer <&- >/dev/null";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// Another user's links where the demo and --badge-dir put their pictures
// are replaced, never written through.
TEST(HostFaults, PlantedLinksAreReplacedNeverWrittenThrough) {
  TempDir temp;
  temp.write("victim", "precious");
  const std::string victim = temp.path() + "/victim", chosen = temp.path() + "/chosen";
  for (const std::string& folder : {temp.path() + "/quorbitz-badges", chosen}) {
    fs::create_directories(folder);
    for (const char* name : {"/synced.png", "/synced@2x.png", "/locked.png"}) {
      fs::create_symlink(victim, folder + name);
    }
  }
  EXPECT_EQ(runHost({"demo"}, nullptr, "", {"TMPDIR=" + temp.path()}), 0);
  EXPECT_EQ(runHost({"run", "--no-container", "--no-timer", "--badge-dir", chosen}, nullptr),
            0);
  EXPECT_EQ(readWholeFile(victim), "precious");
  for (std::string id : {"synced", "pending", "locked", "kept", "masters", "review"}) {
    for (std::string size : {".png", "@2x.png"}) {
      const std::string picture = chosen + "/" + id + size;
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(picture))) << picture;
    }
  }
}

// A folder for `demo --keep` that another user laid out or may write in,
// with links into folders of root's, however much it looks like a kept
// demo: the demo refuses it and writes nothing through the links.
TEST(HostFaults, KeptDemoRefusesAFolderOthersCouldHaveLaidOut) {
  TempDir temp;
  const std::string victim = temp.path() + "/victim", kept = temp.path() + "/kept";
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"badges", [&] { fs::create_directory_symlink(victim, kept + "/badges"); }},
      {"Projects/Film-2026",
       [&] {
         fs::create_directories(kept + "/Projects");
         fs::create_directory_symlink(victim, kept + "/Projects/Film-2026");
       }},
      {"another user's", [&] { ASSERT_EQ(::chown(kept.c_str(), 65534, 65534), 0); }},
      {"writable by all", [&] { fs::permissions(kept, fs::perms::all); }},
  };
  for (const auto& [name, plant] : cases) {
    if (name == "another user's" && ::geteuid() != 0) continue;
    for (const std::string& folder : {kept, victim}) fs::remove_all(folder);
    fs::create_directories(victim);
    temp.write("kept/container/finder/status.json", "{}");
    plant();
    EXPECT_EQ(runHost({"demo", "--keep", kept}, nullptr), 2) << name;
    EXPECT_TRUE(fs::is_empty(victim)) << name;
  }
}

}  // namespace
}  // namespace quorbitz::testing
