// SPDX-License-Identifier: Apache-2.0
#include "diagnostics/trace_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/posix/posix_file_system.h"
#include "support/fake_platform.h"

namespace quorbitz {
namespace {

using testing::readWholeFile;
using testing::TempDir;

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
  EXPECT_TRUE(std::regex_match(
      readWholeFile(log),
      std::regex("\\S{20} first\n\\S{20} second\nline\n")));

  temp.write("appex-trace.log", std::string(kTraceLogLimit, 'x'));
  appendTrace(*files, temp.path(), "kept");
  std::string atLimit = readWholeFile(log);
  EXPECT_EQ(atLimit.size(), kTraceLogLimit + 26);
  EXPECT_TRUE(atLimit.ends_with(" kept\n"));

  appendTrace(*files, temp.path(), "restarted");
  EXPECT_TRUE(std::regex_match(readWholeFile(log), std::regex("\\S{20} restarted\n")));
}

TEST(TraceLog, NeverCreatesTheSharedDirectory) {
  TempDir temp;
  auto files = newPosixFileSystem();
  appendTrace(*files, temp.path() + "/missing", "lost");
  EXPECT_FALSE(std::filesystem::exists(temp.path() + "/missing"));
}

}  // namespace
}  // namespace quorbitz
