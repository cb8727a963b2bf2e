// SPDX-License-Identifier: Apache-2.0
// A stream of badge requests carries the trace log past its limit: it
// restarts with the line that found it too large, never holds more than the
// limit plus one line, and loses no line to another process restarting it.
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "diagnostics/trace_log.h"
#include "faults/fault_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "support/fault_file_system.h"

namespace quorbitz::testing {
namespace {

TEST_F(FaultTest, TraceLogRestartsPastItsLimitKeepingTheTriggeringLine) {
  startWithGoodDocument();
  const std::string log = fake.finderDir() + "/appex-trace.log";
  // Long paths make few requests fill the log.
  const std::string folder =
      root() + "/" + std::string(200, 'd') + "/" + std::string(200, 'e');
  int restarts = 0;
  uintmax_t previousSize = std::filesystem::file_size(log);
  for (int request = 0; restarts < 2; ++request) {
    ASSERT_LT(request, 20'000) << "the log never restarted";
    const std::string path = folder + "/item-" + std::to_string(request);
    controller->requestBadgeIdentifierForURL(path);
    const std::string line = "badge? " + path + " -> pending\n";
    const uintmax_t size = std::filesystem::file_size(log);
    ASSERT_LE(size, kTraceLogLimit + 20 + 1 + line.size());
    if (size < previousSize) {
      ++restarts;
      EXPECT_GT(previousSize, kTraceLogLimit);
      std::string restarted = readWholeFile(log);
      EXPECT_EQ(restarted.size(), 21 + line.size());
      EXPECT_TRUE(restarted.ends_with(" " + line)) << restarted;
    } else {
      ASSERT_LE(previousSize, kTraceLogLimit) << "a log past the limit was not restarted";
    }
    previousSize = size;
  }
}

TEST_F(FaultTest, TraceLogThatCannotBeRestartedGetsNoMoreLines) {
  struct Unremovable final : FileSystemWrapper {
    using FileSystemWrapper::FileSystemWrapper;
    bool removeIfLarger(const std::string&, uint64_t) override { return false; }
  };
  fake.files = std::make_unique<Unremovable>(std::move(fake.files));
  startWithGoodDocument();
  const std::string full(kTraceLogLimit + 1, 'x');
  fake.temp.write("container/finder/appex-trace.log", full);
  controller->requestBadgeIdentifierForURL(clip());
  EXPECT_EQ(readWholeFile(fake.finderDir() + "/appex-trace.log"), full);
}

// Two processes append to one log across many restarts, each pausing once
// it finds the log too large so that both restart it. Every log the restarts
// discard is kept under another name: all lines must be found, whole.
TEST(TraceLogRestart, TwoProcessesCrossingItLoseNoLine) {
  struct KeepsRestartedLogs final : FileSystemWrapper {
    using FileSystemWrapper::FileSystemWrapper;
    AppendOutcome appendUnlessLarger(const std::string& path, std::string_view bytes,
                                     uint64_t sizeLimit) override {
      AppendOutcome outcome = FileSystemWrapper::appendUnlessLarger(path, bytes, sizeLimit);
      if (outcome == AppendOutcome::overLimit) usleep(2000);
      return outcome;
    }
    bool removeIfLarger(const std::string& path, uint64_t sizeLimit) override {
      keep(path);
      return FileSystemWrapper::removeIfLarger(path, sizeLimit);
    }
    bool removeFile(const std::string& path) override {
      keep(path);
      return FileSystemWrapper::removeFile(path);
    }
    void keep(const std::string& path) {
      static int kept = 0;
      (void)::link(path.c_str(),
                   (path + "." + std::to_string(getpid()) + "." + std::to_string(++kept)).c_str());
    }
  };
  constexpr int kLines = 4000;
  auto appendLines = [&](const std::string& folder, char tag, size_t width) {
    KeepsRestartedLogs files(newPosixFileSystem());
    const std::string padding(width, tag);
    for (int i = 0; i < kLines; ++i) {
      appendTrace(files, folder, tag + std::to_string(i) + " " + padding);
    }
  };
  const std::regex wellFormed("\\S{20} ([ab])(\\d+) (a{1500}|b{2300})");
  for (int round = 0; round < 3; ++round) {
    TempDir temp;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      appendLines(temp.path(), 'a', 1500);
      _exit(0);
    }
    appendLines(temp.path(), 'b', 2300);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);

    std::map<char, std::set<int>> found;
    for (const std::string& log : filesIn(temp.path())) {
      std::istringstream lines(readWholeFile(log));
      for (std::string line; std::getline(lines, line);) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(line, parts, wellFormed))
            << "round " << round << ": " << line.substr(0, 60);
        found[parts[1].str()[0]].insert(std::stoi(parts[2]));
      }
    }
    EXPECT_EQ(found['a'].size(), size_t{kLines}) << "round " << round;
    EXPECT_EQ(found['b'].size(), size_t{kLines}) << "round " << round;
  }
}

}  // namespace
}  // namespace quorbitz::testing
