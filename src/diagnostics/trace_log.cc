#include "diagnostics/trace_log.h"

#include <ctime>

#include "platform/platform.h"

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

namespace {

void appendQuoted(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xf];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace

std::string quotedPathList(const std::vector<std::string>& paths) {
  std::string list = "[";
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) list += ", ";
    appendQuoted(list, paths[i]);
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
