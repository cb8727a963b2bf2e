// SPDX-License-Identifier: Apache-2.0
#include "diagnostics/trace_log.h"

#include <ctime>

#include "platform/platform.h"
#include "status/json_text.h"

namespace quorbitz {

namespace {

// Badge requests come in bursts of hundreds a second, and formatting the
// date costs more than the rest of the line: each thread keeps the text of
// the last second it formatted.
std::string_view timestampText(std::time_t seconds) {
  thread_local std::time_t formattedSecond = -1;
  thread_local char text[32];
  thread_local size_t length = 0;
  if (seconds != formattedSecond || length == 0) {
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    formattedSecond = seconds;
  }
  return {text, length};
}

}  // namespace

std::string traceTimestamp(std::chrono::system_clock::time_point when) {
  return std::string(timestampText(std::chrono::system_clock::to_time_t(when)));
}

namespace {

void formatTraceLine(std::string& line, std::time_t when,
                     std::initializer_list<std::string_view> message) {
  std::string_view timestamp = timestampText(when);
  size_t length = timestamp.size() + 2;
  for (std::string_view part : message) length += part.size();
  line.clear();
  line.reserve(length);
  line.append(timestamp).append(1, ' ');
  for (std::string_view part : message) line.append(part);
  line.append(1, '\n');
}

}  // namespace

std::string traceLine(std::chrono::system_clock::time_point when,
                      std::string_view message) {
  std::string line;
  formatTraceLine(line, std::chrono::system_clock::to_time_t(when), {message});
  return line;
}

std::string quotedPathList(const std::vector<std::string>& paths) {
  std::string list = "[";
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) list += ", ";
    appendJsonString(list, paths[i]);
  }
  list += ']';
  return list;
}

void appendTrace(FileSystem& files, std::string finderDir, std::string_view message) {
  appendTrace(files, finderDir, {message});
}

void appendTrace(FileSystem& files, std::string& finderDir,
                 std::initializer_list<std::string_view> message) {
  std::string& logPath = finderDir;
  logPath.append(1, '/').append(kTraceLogName);
  // One line per badge request: the buffer is kept from line to line.
  thread_local std::string line;
  // Whole seconds are all a line shows. On Linux, std::time reads the second
  // the kernel keeps at each clock tick, without the CPU's time counter that
  // a finer clock reads: that read alone came to a tenth of a badge
  // request's own work.
  formatTraceLine(line, std::time(nullptr), message);
  AppendOutcome outcome = files.appendUnlessLarger(logPath, line, kTraceLogLimit);
  if (outcome == AppendOutcome::overLimit) {
    // A log that cannot be deleted (held by a mount, append-only) keeps what
    // it holds: it is never emptied, and the line goes after the rest.
    if (!files.removeIfLarger(logPath, kTraceLogLimit)) {
      files.appendToExistingFile(logPath, line);
      return;
    }
    outcome = AppendOutcome::couldNotOpen;
  }
  // Created only where nothing is: another process may have started the new
  // log an instant ago, and whatever else is there (a device, a FIFO) is
  // never written into.
  if (outcome == AppendOutcome::couldNotOpen) files.appendOrCreate(logPath, line);
}

}  // namespace quorbitz
