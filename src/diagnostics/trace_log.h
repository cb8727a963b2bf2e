// SPDX-License-Identifier: Apache-2.0
// The trace log: appex-trace.log in the shared directory, one time-stamped
// line per exchange with the file manager, for people diagnosing badges.
#pragma once

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorbitz {

class FileSystem;

inline constexpr std::string_view kTraceLogName = "appex-trace.log";
// A log larger than this is deleted before the next line is written; one
// that cannot be deleted is kept whole, and the line is appended to it.
inline constexpr uint64_t kTraceLogLimit = 2'000'000;

// "2026-12-05T12:14:27Z": UTC, whole seconds.
std::string traceTimestamp(std::chrono::system_clock::time_point when);

// Time stamp, one space, the message as given, one line feed.
std::string traceLine(std::chrono::system_clock::time_point when,
                      std::string_view message);

// ["/a", "/b"]: each path a JSON string, so that a list stays readable and
// unambiguous whatever the names hold.
std::string quotedPathList(const std::vector<std::string>& paths);

// Appends one line to the log in `finderDir`, restarting the log when it has
// outgrown the limit. Every failure is silent; never creates `finderDir`.
void appendTrace(FileSystem& files, std::string finderDir, std::string_view message);
// The same for a message given in parts, joined as they are. The log's name
// is appended to `finderDir`, whose buffer a caller writing line after line
// keeps.
void appendTrace(FileSystem& files, std::string& finderDir,
                 std::initializer_list<std::string_view> message);

}  // namespace quorbitz
