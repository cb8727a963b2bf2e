// SPDX-License-Identifier: Apache-2.0
// The shared directory missing, unwritable, or with the wrong kind of item
// where the trace log or the commands folder belong. Trace lines fail
// silently; a lost command adds one line saying so to the system log.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <csignal>
#include <filesystem>

#include "faults/fault_fixture.h"
#include "support/fault_file_system.h"

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

size_t commandCount(const std::string& finderDir) {
  return filesIn(finderDir + "/commands").size();
}

class SharedDirectoryFaults : public FaultTest {
 protected:
  // A badge request, a menu and two actions on the Footage folder.
  void useTheExtension() {
    controller->requestBadgeIdentifierForURL(footage());
    fake.finder.targeted = footage();
    controller->menuForMenuKind(1);
    controller->toggleLock();
    controller->syncNow();
  }
  // With `lost`, the two commands were not written.
  std::vector<std::string> usageLogLines(bool lost = false) const {
    const std::string refusal =
        " \u2014 command not written: cannot write a file in " + fake.finderDir() + "/commands";
    std::vector<std::string> lines = {"quorbitzFS: menu for " + footage() + " (rel 'Footage')",
                                      "quorbitzFS: toggleLock " + footage()};
    if (lost) lines.push_back("quorbitzFS: toggleLock" + refusal);
    lines.push_back("quorbitzFS: syncNow");
    if (lost) lines.push_back("quorbitzFS: syncNow" + refusal);
    return lines;
  }
};

TEST_F(SharedDirectoryFaults, MissingDirectoryLosesTraceLinesButKeepsCommands) {
  controller = FinderSync::create(fake.platform());
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: reload \u2014 stat " + statusPath() +
                                  " failed: No such file or directory"));
  controller->requestBadgeIdentifierForURL(footage());
  EXPECT_FALSE(fs::exists(fake.finderDir())) << "the trace log creates no directory";
  controller->syncNow();
  EXPECT_EQ(commandCount(fake.finderDir()), 1u);
  EXPECT_THAT(logs(), ElementsAre("quorbitzFS: syncNow"));
}

TEST_F(SharedDirectoryFaults, ReadOnlyDirectoryLosesCommandsSayingSo) {
  struct ReadOnly final : FileSystemWrapper {
    using FileSystemWrapper::FileSystemWrapper;
    bool removeFile(const std::string&) override { return false; }
    AppendOutcome appendToExistingFile(const std::string&, std::string_view) override {
      return AppendOutcome::couldNotOpen;
    }
    AppendOutcome appendUnlessLarger(const std::string&, std::string_view,
                                     uint64_t) override {
      return AppendOutcome::couldNotOpen;
    }
    AppendOutcome appendOrCreate(const std::string&, std::string_view) override {
      return AppendOutcome::couldNotOpen;
    }
    bool writeFile(const std::string&, std::string_view) override { return false; }
    bool createDirectories(const std::string&) override { return false; }
  };
  fake.writeStatus(goodDocument());
  fake.files = std::make_unique<ReadOnly>(std::move(fake.files));
  controller = FinderSync::create(fake.platform());
  logs();
  calls();
  useTheExtension();
  EXPECT_EQ(logs(), usageLogLines(/*lost=*/true));
  EXPECT_THAT(calls(), ElementsAre("setBadgeIdentifier locked " + footage()));
  EXPECT_FALSE(fs::exists(fake.finderDir() + "/appex-trace.log"));
  EXPECT_EQ(commandCount(fake.finderDir()), 0u);
}

TEST_F(SharedDirectoryFaults, FileNamedCommandsLosesCommandsSayingSo) {
  fake.temp.write("container/finder/commands", "not a folder");
  startWithGoodDocument();
  useTheExtension();
  EXPECT_EQ(logs(), usageLogLines(/*lost=*/true));
  EXPECT_EQ(readWholeFile(fake.finderDir() + "/commands"), "not a folder");
  EXPECT_EQ(fake.traceMessages().back(), "badge? " + footage() + " -> locked");
}

// A disk that fills up before or during a command's write: the folder holds
// nothing the main application could read as a broken command.
TEST_F(SharedDirectoryFaults, FullDiskLeavesNoBrokenCommandFile) {
  startWithGoodDocument();
  struct rlimit before;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  std::signal(SIGXFSZ, SIG_IGN);
  for (rlim_t room : {0, 10}) {
    const struct rlimit full = {room, before.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    useTheExtension();
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(logs(), usageLogLines(/*lost=*/true));
    EXPECT_EQ(commandCount(fake.finderDir()), 0u) << "room for " << room << " bytes";
  }
}

// A folder, or a FIFO that someone reads, where the trace log belongs.
TEST_F(SharedDirectoryFaults, SpecialItemsNamedLikeTheTraceLogAreNeverWrittenInto) {
  const std::string log = fake.finderDir() + "/appex-trace.log";
  fake.temp.makeFolder("container/finder");
  ASSERT_EQ(mkfifo(log.c_str(), 0644), 0);
  const int reader = ::open(log.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  startWithGoodDocument();
  useTheExtension();
  char byte;
  EXPECT_LE(::read(reader, &byte, 1), 0) << "a trace line went into the FIFO";
  ::close(reader);
  fs::remove(log);
  logs();

  fake.temp.makeFolder("container/finder/appex-trace.log/inside");
  useTheExtension();
  EXPECT_EQ(logs(), usageLogLines());
  EXPECT_TRUE(fs::is_directory(log + "/inside"));
  EXPECT_EQ(commandCount(fake.finderDir()), 4u);
  calls();
  expectGoodDocumentInForce();
}

}  // namespace
}  // namespace quorbitz::testing
