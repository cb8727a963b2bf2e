// SPDX-License-Identifier: Apache-2.0
// A stream of badge requests carries the trace log past its limit: it
// restarts with the line that found it too large, and never holds more than
// the limit plus one line.
#include <gmock/gmock.h>

#include <filesystem>

#include "diagnostics/trace_log.h"
#include "faults/fault_fixture.h"
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

TEST_F(FaultTest, TraceLogThatCannotBeDeletedIsEmptiedInstead) {
  struct Undeletable final : FileSystemWrapper {
    using FileSystemWrapper::FileSystemWrapper;
    bool removeFile(const std::string&) override { return false; }
  };
  fake.files = std::make_unique<Undeletable>(std::move(fake.files));
  startWithGoodDocument();
  fake.temp.write("container/finder/appex-trace.log",
                  std::string(kTraceLogLimit + 1, 'x'));
  controller->requestBadgeIdentifierForURL(clip());
  EXPECT_THAT(fake.traceMessages(),
              ::testing::ElementsAre("badge? " + clip() + " -> synced"));
}

}  // namespace
}  // namespace quorbitz::testing
