// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/repeat_collapsing_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace quorbitz {
namespace {

using Lines = std::vector<std::string>;

const std::string kMissing =
    "quorbitzFS: reload \u2014 stat /c/finder/status.json failed: No such file or directory";
const std::string kDecode = "quorbitzFS: reload \u2014 decode failed: version: missing";
const std::string kLoaded = "quorbitzFS: reload \u2014 1 roots";
const std::string kSyncNow = "quorbitzFS: syncNow";
const std::string kLockDashedPath = "quorbitzFS: toggleLock /Film \u2014 cut/B";
std::string repeated(int times) {
  return "quorbitzFS: log \u2014 last line repeated " + std::to_string(times) + " more times";
}

TEST(RepeatCollapsingLog, FailureRepeatsAreCountedBeforeTheNextDifferentLine) {
  struct Case { const char* name; Lines written, logged; } cases[] = {
      {"a missing status file, then its creation",
       {kMissing, kMissing, kMissing, kLoaded},
       {kMissing, repeated(2), kLoaded}},
      {"repeats never written out yet stay counted", {kMissing, kMissing}, {kMissing}},
      {"alternating failures are all written",
       {kMissing, kDecode, kMissing},
       {kMissing, kDecode, kMissing}},
      {"loads and actions are events, each written",
       {kLoaded, kLoaded, kSyncNow, kSyncNow, kLockDashedPath, kLockDashedPath},
       {kLoaded, kLoaded, kSyncNow, kSyncNow, kLockDashedPath, kLockDashedPath}},
      {"a failure coming back after a load is written again",
       {kDecode, kDecode, kLoaded, kDecode, kDecode, kDecode, kSyncNow},
       {kDecode, repeated(1), kLoaded, kDecode, repeated(2), kSyncNow}},
  };
  for (const Case& c : cases) {
    auto recording = std::make_unique<testing::RecordingSystemLog>();
    const Lines& logged = recording->lines;
    std::unique_ptr<SystemLog> log = newRepeatCollapsingLog(std::move(recording));
    for (const std::string& line : c.written) log->log(line);
    EXPECT_EQ(logged, c.logged) << c.name;
  }
}

}  // namespace
}  // namespace quorbitz
