// SPDX-License-Identifier: Apache-2.0
// A status.json that another process left broken, or something that is not
// a file at all in its place: the last good document stays in force and the
// next valid one loads.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/controller_fixture.h"
#include "support/failing_allocation.h"

namespace quorbitz::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// A figure in kB from Linux's /proc/self/status: VmSize is the address
// space, VmRSS what is resident and VmHWM its peak (0 elsewhere, where the
// checks below then hold trivially).
long memoryKb(std::string_view name = "VmSize:") {
  std::istringstream status(readWholeFile("/proc/self/status"));
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(name)) return std::stol(line.substr(name.size()));
  }
  return 0;
}

using StatusFileFaults = ControllerTest;
const std::string kDecodeFailed = "quorbitzFS: reload \u2014 decode failed: ";

TEST_F(StatusFileFaults, WriteTornAtAnyByteKeepsTheLastGoodDocument) {
  startWithGoodDocument();
  const std::string next = nextDocument();
  for (size_t length = 0; length < next.size(); ++length) {
    SCOPED_TRACE("torn after " + std::to_string(length) + " bytes");
    fake.writeStatus(next.substr(0, length));
    fake.tick();
    ASSERT_THAT(logs(), ElementsAre(StartsWith(kDecodeFailed)));
    ASSERT_THAT(calls(), IsEmpty());
  }
  expectGoodDocumentInForce();
  expectNextDocumentLoads();
}

TEST_F(StatusFileFaults, SomethingElseInItsPlaceKeepsTheLastGoodDocument) {
  startWithGoodDocument();
  namespace fs = std::filesystem;
  const std::string path = statusPath();
  const std::string unreadable = "quorbitzFS: reload \u2014 can't read status.json";
  // A FIFO, a symbolic link loop and a 200 MB file, too large to read, in its
  // place; and what the load then logs.
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }, unreadable},
      {[&] { fs::create_symlink(path, path); },
       "quorbitzFS: reload \u2014 stat " + path + " failed: Too many levels of symbolic links"},
      {[&] { std::ofstream{path}; fs::resize_file(path, 200 << 20); }, unreadable},
  };
  for (const auto& [make, log] : cases) {
    SCOPED_TRACE(log);
    fs::remove_all(path);
    make();
    // Later than the good document's date, so that the tick reads it.
    struct timespec now[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
    utimensat(AT_FDCWD, path.c_str(), now, AT_SYMLINK_NOFOLLOW);
    const long memoryBefore = memoryKb();
    fake.tick();
    EXPECT_THAT(logs(), ElementsAre(StartsWith(log)));
    EXPECT_LT(memoryKb() - memoryBefore, 1'000'000)
        << "no buffer sized for the largest document outlives the load";
    expectGoodDocumentInForce();
  }
  fs::remove_all(path);
  expectNextDocumentLoads();
}

// A load holds the file and the parser's index of it, never more than
// twice the file beside what it builds, whatever the lists hold: a list
// whose index would outgrow that (a million zeros or empty strings) is
// refused unread, and one short path repeated builds almost nothing.
TEST_F(StatusFileFaults, ALoadTakesAtMostTwiceTheFileBesideWhatItBuilds) {
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "a sanitizer's own bookkeeping swells the memory this measures";
#endif
  startWithGoodDocument();
  constexpr size_t kListBytes = 24 << 20;
  const std::string refused = kDecodeFailed + "(document): too many values";
  for (const auto& [entry, log] : std::vector<std::pair<std::string, std::string>>{
           {"0,", refused}, {"\"\",", refused}, {"\"\\n\\n\",", refused},
           {"\"Footage\\/A001.mov\",", "quorbitzFS: reload \u2014 1 roots"}}) {
    std::string list;
    for (size_t i = 0; i + entry.size() < kListBytes; i += entry.size()) list += entry;
    fake.writeStatus(statusJson({rootJson(root(), "[]", "[" + list + "\"\"]")}));
    list = std::string();
    std::ofstream clearPeak("/proc/self/clear_refs");
    if (!(clearPeak << "5" << std::flush)) GTEST_SKIP() << "the peak cannot be reset here";
    const long before = memoryKb("VmRSS:");
    fake.tick();
    EXPECT_THAT(logs(), ElementsAre(StartsWith(log))) << entry;
    EXPECT_LT(memoryKb("VmHWM:") - before, long{kListBytes} * 2 / 1024) << entry;
  }
}

// Allocation number N fails, for every N until the operation needs no more:
// nothing escapes to the file manager, and a load that failed logs one line
// and leaves the last good document in force.
TEST_F(StatusFileFaults, AllocationFailingAnywhereEscapesNothing) {
  startWithGoodDocument();
  const std::string item = clip();
  fake.finder.targeted = footage();
  const std::vector<std::function<void()>> operations = {
      [&] { controller->requestBadgeIdentifierForURL(item); },
      [&] { controller->menuForMenuKind(1); },
      [&] { controller->toggleLock(); },
  };
  for (size_t operation = 0; operation < operations.size(); ++operation) {
    bool failed = true;
    for (long index = 0; failed; ++index) {
      FailingAllocation failure(index);
      EXPECT_NO_THROW(operations[operation]()) << operation << ", allocation " << index;
      failed = failure.failed();
    }
  }
  logs();
  bool failed = true;
  for (long index = 0; failed; ++index) {
    SCOPED_TRACE("reload, allocation " + std::to_string(index));
    fake.writeStatus(nextDocument());
    fake.runLoop.fireTimers();
    {
      FailingAllocation failure(index);
      EXPECT_NO_THROW(fake.runLoop.drain());
      failed = failure.failed();
    }
    // A load that succeeded may have lost its own line.
    const std::vector<std::string> lines = logs();
    ASSERT_LE(lines.size(), 1u);
    if (lines.empty() || lines[0] == "quorbitzFS: reload \u2014 2 roots") {
      fake.writeStatus(goodDocument());
      fake.tick();
      logs();
    } else {
      EXPECT_THAT(lines[0], StartsWith(kDecodeFailed));
      EXPECT_THAT(*fake.finder.watched, ElementsAre(root()));
    }
  }
  calls();
  expectGoodDocumentInForce();
}

}  // namespace
}  // namespace quorbitz::testing
