// SPDX-License-Identifier: Apache-2.0
// The real host, after a good load, over damaged status files and fed odd
// paths: it keeps the roots it had, keeps answering and ends normally.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

#include "support/host_process.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(HostFaults, DamagedStatusFilesAndOddPathsLeaveTheHostAnswering) {
  TempDir temp;
  const std::string container = temp.path() + "/container";
  const std::string statusPath = container + "/finder/status.json";
  const std::string root = temp.path() + "/Film";
  fs::create_directories(root + "/odd 'name' \\ \"q\"");
  temp.write("Film/bad-\xFF.mov", "x");
  const std::string good = statusJson({rootJson(root)});
  const std::vector<std::pair<std::string, std::function<void()>>> damages = {
      {"torn", [&] { temp.write("container/finder/status.json", good.substr(0, 57)); }},
      {"binary",
       [&] {
         temp.write("container/finder/status.json", {"\0\xFF{[\"", 5});
       }},
      {"folder", [&] { fs::create_directories(statusPath); }},
      {"fifo", [&] { mkfifo(statusPath.c_str(), 0644); }},
  };
  const std::string badFile = "'" + root + "/bad-\xFF.mov'";
  const std::string oddPaths =
      "tick\nls " + root + "\nbadge " + badFile + "\nbadge " + root + "/" +
      std::string(5000, 'x') + "\nselect " + badFile +
      "\nmenu 0\nclick 1\naction keepLocal:\nselect\ntarget \"" + root +
      "/odd 'name' \\\\ \\\"q\\\"\"\nmenu 1\nclick 2\nmenu 7\nclick 99\n"
      "bogus \"unterminated";
  for (const auto& [name, damage] : damages) {
    SCOPED_TRACE(name);
    fs::remove_all(container);
    temp.write("container/finder/status.json", good);
    struct timespec longAgo[2] = {{1'700'000'000, 0}, {1'700'000'000, 0}};
    utimensat(AT_FDCWD, statusPath.c_str(), longAgo, 0);

    HostProcess host({"run", "--container", container, "--no-timer"});
    EXPECT_THAT(joined(host.linesUntilEcho()),
                HasSubstr("quorbitzFS: reload \u2014 1 roots"));
    fs::remove_all(statusPath);
    damage();
    host.send(oddPaths);
    const std::string events = joined(host.linesUntilEcho());
    EXPECT_THAT(events, HasSubstr("log \"quorbitzFS: reload \u2014 "));
    EXPECT_THAT(events, HasSubstr("menu \"Quorbitz\"\nitem 1 \"Keep Local on This Mac\""))
        << "the roots of the good document stay in force";
    EXPECT_THAT(events, Not(HasSubstr(HostProcess::kNoEcho)));
    EXPECT_EQ(host.finish(), 0) << events;
  }
}

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

// Another user's links where the demo and --badge-dir put their pictures.
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
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(chosen + "/synced.png")));
}

TEST(HostFaults, DemoWithATemporaryFolderThatIsMissingStillRuns) {
  TempDir temp;
  EXPECT_EQ(runHost({"demo"}, nullptr, "", {"TMPDIR=" + temp.path() + "/missing"}), 0);
}

}  // namespace
}  // namespace quorbitz::testing
