#include "diagnostics/trace_log.h"

#include <ctime>

#include "platform/platform.h"
#include "status/json_text.h"

namespace quorbitz {

std::string traceTimestamp(std::chrono::system_clock::time_point when) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(text, length);
}

std::string traceLine(std::chrono::system_clock::time_point when,
                      std::string_view message) {
  std::string line = traceTimestamp(when);
  line.reserve(line.size() + message.size() + 2);
  line += ' ';
  line += message;
  line += '\n';
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

void appendTrace(FileSystem& files, const std::string& finderDir,
                 std::string_view message) {
  std::string logPath = finderDir + "/" + std::string(kTraceLogName);
  if (auto attributes = files.attributes(logPath, nullptr);
      attributes && attributes->size && *attributes->size > kTraceLogLimit) {
    files.removeFile(logPath);
  }
  std::string line = traceLine(std::chrono::system_clock::now(), message);
  // Whether to append or create is decided by the open, not by the size
  // check above, so a log deleted there is created afresh here.
  if (files.appendToExistingFile(logPath, line) == AppendOutcome::couldNotOpen) {
    files.writeFile(logPath, line);
  }
}

}  // namespace quorbitz
