// SPDX-License-Identifier: Apache-2.0
#include "diagnostics/trace_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "platform/posix/posix_file_system.h"
#include "support/fake_platform.h"
#include "support/fault_file_system.h"

#if defined(__linux__)
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace quorbitz::testing {
namespace {

TEST(TraceLog, LinesAreTimeStampedInUtc) {
  auto when = std::chrono::system_clock::from_time_t(1796472867);  // 2026-12-05
  EXPECT_EQ(traceLine(when, "observe /v/Show"), "2026-12-05T12:14:27Z observe /v/Show\n");
  EXPECT_EQ(quotedPathList({}), "[]");
  EXPECT_EQ(quotedPathList({"/a", "/b \"c\"\\"}), R"(["/a", "/b \"c\"\\"])");
}

TEST(TraceLog, AppendsAndRestartsOnlyPastTheLimit) {
  TempDir temp;
  auto files = newPosixFileSystem();
  const std::string log = temp.path() + "/appex-trace.log";

  appendTrace(*files, temp.path(), "first");
  appendTrace(*files, temp.path(), "second\nline");
  EXPECT_TRUE(std::regex_match(readWholeFile(log),
                               std::regex("\\S{20} first\n\\S{20} second\nline\n")));

  temp.write("appex-trace.log", std::string(kTraceLogLimit, 'x'));
  appendTrace(*files, temp.path(), "kept");
  EXPECT_TRUE(std::regex_match(readWholeFile(log).substr(kTraceLogLimit),
                               std::regex("\\S{20} kept\n")));

  appendTrace(*files, temp.path(), "restarted");
  EXPECT_TRUE(std::regex_match(readWholeFile(log), std::regex("\\S{20} restarted\n")));

  appendTrace(*files, temp.path() + "/missing", "lost");
  EXPECT_FALSE(std::filesystem::exists(temp.path() + "/missing"))
      << "the trace log never creates the shared directory";
}

// Sets or clears an inode flag (chattr, chflags); false where the system,
// the file system or the user's rights allow none.
#if defined(__linux__)
constexpr int kImmutable = FS_IMMUTABLE_FL;
constexpr int kAppendOnly = FS_APPEND_FL;
bool setInodeFlag(const std::string& path, int flag, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  int flags = 0;
  bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | flag : flags & ~flag;
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (fd >= 0) ::close(fd);
  return done;
}
#elif defined(__APPLE__)
constexpr int kImmutable = UF_IMMUTABLE;
constexpr int kAppendOnly = UF_APPEND;
bool setInodeFlag(const std::string& path, int flag, bool on) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  const unsigned flags = on ? info.st_flags | flag : info.st_flags & ~unsigned(flag);
  return ::chflags(path.c_str(), flags) == 0;
}
#else
constexpr int kImmutable = 0;
constexpr int kAppendOnly = 0;
bool setInodeFlag(const std::string&, int, bool) { return false; }
#endif

// An oversized log that cannot be deleted (its folder forbids it, or it is
// append-only) is never emptied: the line goes after what it holds. One that
// takes no line at all is left as it was.
TEST(TraceLog, LogThatCannotBeDeletedKeepsItsLinesAndTakesTheNewOne) {
  TempDir temp;
  auto files = newPosixFileSystem();
  const std::string log = temp.path() + "/appex-trace.log";
  const std::string full(kTraceLogLimit + 1, 'x');
  // The item flagged, its flag, and whether the line is appended.
  const std::vector<std::tuple<std::string, int, bool>> cases = {
      {temp.path(), kImmutable, true}, {log, kAppendOnly, true}, {log, kImmutable, false}};
  for (const auto& [flagged, flag, appended] : cases) {
    SCOPED_TRACE(flagged + " " + std::to_string(flag));
    temp.write("appex-trace.log", full);
    if (!setInodeFlag(flagged, flag, true)) GTEST_SKIP() << "no inode flags here";
    appendTrace(*files, temp.path(), "kept");
    setInodeFlag(flagged, flag, false);
    const std::string content = readWholeFile(log);
    EXPECT_TRUE(content.starts_with(full));
    EXPECT_TRUE(std::regex_match(content.substr(std::min(full.size(), content.size())),
                                 std::regex(appended ? "\\S{20} kept\n" : "")));
  }
}

// Two processes append to one log across many restarts, each pausing once
// it finds the log too large so that both restart it. Every log the restarts
// discard is kept under another name: all lines must be found, whole.
TEST(TraceLog, TwoProcessesRestartingItTogetherLoseNoLine) {
  struct KeepsRestartedLogs final : FileSystemWrapper {
    using FileSystemWrapper::FileSystemWrapper;
    AppendOutcome appendUnlessLarger(const std::string& path, std::string_view bytes,
                                     uint64_t sizeLimit) override {
      AppendOutcome outcome = FileSystemWrapper::appendUnlessLarger(path, bytes, sizeLimit);
      if (outcome == AppendOutcome::overLimit) usleep(2000);
      return outcome;
    }
    bool removeIfLarger(const std::string& path, uint64_t sizeLimit) override {
      static int kept = 0;
      // glibc's fortified link() warns of a result cast to void.
      [[maybe_unused]] const int linked = ::link(
          path.c_str(), (path + "." + std::to_string(getpid()) + "." + std::to_string(++kept)).c_str());
      return FileSystemWrapper::removeIfLarger(path, sizeLimit);
    }
  };
  constexpr size_t kLines = 4000;
  auto appendLines = [&](const std::string& folder, char tag, size_t width) {
    KeepsRestartedLogs files(newPosixFileSystem());
    const std::string padding(width, tag);
    for (size_t i = 0; i < kLines; ++i) {
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
    for (const std::string& log : testing::filesIn(temp.path())) {
      std::istringstream lines(readWholeFile(log));
      for (std::string line; std::getline(lines, line);) {
        std::smatch parts;
        ASSERT_TRUE(std::regex_match(line, parts, wellFormed))
            << "round " << round << ": " << line.substr(0, 60);
        found[parts[1].str()[0]].insert(std::stoi(parts[2]));
      }
    }
    for (char tag : {'a', 'b'}) EXPECT_EQ(found[tag].size(), kLines) << tag << round;
  }
}

}  // namespace
}  // namespace quorbitz::testing
