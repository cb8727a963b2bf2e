// SPDX-License-Identifier: Apache-2.0
// The shared directory full, or with the wrong kind of item where the trace
// log or the commands folder belong. Trace lines fail silently; a lost
// command adds one line saying so to the system log.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <csignal>
#include <filesystem>

#include "support/controller_fixture.h"

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class SharedDirectoryFaults : public ControllerTest {
 protected:
  size_t commandCount() const { return filesIn(fake.finderDir() + "/commands").size(); }
  // A badge request, a menu and two actions on the Footage folder.
  void useTheExtension() {
    controller->requestBadgeIdentifierForURL(footage());
    fake.finder.targeted = footage();
    controller->menuForMenuKind(1);
    controller->toggleLock();
    controller->syncNow();
  }
  // What useTheExtension() logs when neither command could be written.
  std::vector<std::string> lostCommandsLog() const {
    const std::string refusal =
        " \u2014 command not written: cannot write a file in " + fake.finderDir() + "/commands";
    return {"quorbitzFS: menu for " + footage() + " (rel 'Footage')",
            "quorbitzFS: toggleLock " + footage(), "quorbitzFS: toggleLock" + refusal,
            "quorbitzFS: syncNow", "quorbitzFS: syncNow" + refusal};
  }
};

// A disk that fills up before or during a command's write, then a file where
// the commands folder belongs: badges go on, and the folder holds nothing
// the main application could read as a broken command.
TEST_F(SharedDirectoryFaults, UnwritableCommandsAreLostSayingSoAndLeaveNoFile) {
  startWithGoodDocument();
  struct rlimit before;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  std::signal(SIGXFSZ, SIG_IGN);
  for (rlim_t room : {0, 10}) {
    const struct rlimit full = {room, before.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    useTheExtension();
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(logs(), lostCommandsLog());
    EXPECT_THAT(calls(), ElementsAre("setBadgeIdentifier locked " + footage() + "/"));
    EXPECT_EQ(commandCount(), 0u) << "room for " << room << " bytes";
  }
  fs::remove(fake.finderDir() + "/commands");
  fake.temp.write("container/finder/commands", "not a folder");
  useTheExtension();
  EXPECT_EQ(logs(), lostCommandsLog());
  EXPECT_EQ(readWholeFile(fake.finderDir() + "/commands"), "not a folder");
  EXPECT_EQ(fake.traceMessages().back(), "badge? " + footage() + " -> locked");
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

  fake.temp.makeFolder("container/finder/appex-trace.log/inside");
  useTheExtension();
  EXPECT_TRUE(fs::is_directory(log + "/inside"));
  EXPECT_EQ(commandCount(), 4u) << "the actions went on";
}

}  // namespace
}  // namespace quorbitz::testing
