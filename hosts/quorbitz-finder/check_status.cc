// SPDX-License-Identifier: Apache-2.0
#include "check_status.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <variant>

#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"
#include "status/finder_sync.h"
#include "status/json_text.h"
#include "status/status_checker.h"
#include "status/status_decoder.h"
#include "status/status_file_read.h"

namespace quorbitz::host {
namespace {

enum ExitStatus { kLoads = 0, kRejected = 1, kUsageError = 2 };

struct Options {
  bool json = false;
  std::optional<std::string> file;
};

int usageError(const std::string& message) {
  std::fprintf(stderr, "quorbitz-finder: %s (usage: quorbitz-finder check-status [--json] [FILE])\n",
               message.c_str());
  return kUsageError;
}

// "1 root", "2 roots".
std::string counted(size_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

void print(const Options& options, std::string_view level, std::string_view jsonPath,
           std::string_view message, const std::optional<TextPosition>& position = {}) {
  std::string line;
  if (options.json) {
    line = "{\"level\":";
    appendJsonString(line, level);
    line += ",\"path\":";
    appendJsonString(line, jsonPath);
    line += ",\"message\":";
    appendJsonString(line, message);
    if (position) {
      line += ",\"line\":" + std::to_string(position->line) +
              ",\"column\":" + std::to_string(position->column);
    }
    line += "}";
  } else {
    line.append(level).append(": ").append(jsonPath).append(": ").append(message);
    if (position) {
      line += " at line " + std::to_string(position->line) + ", column " +
              std::to_string(position->column);
    }
  }
  std::puts(line.c_str());
}

// Decode errors read "PATH: what is wrong"; tools get the two apart.
void printDecodeError(const Options& options, const DecodeError& error) {
  const std::string& description = error.description;
  size_t colon = description.find(": ");
  if (colon == std::string::npos) {
    print(options, "error", "(document)", description, error.position);
  } else {
    print(options, "error", description.substr(0, colon), description.substr(colon + 2),
          error.position);
  }
}

// What the item at `file` is, for a file the extension would not read.
std::string whyUnreadable(const std::string& file) {
  struct stat info;
  if (::stat(file.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "a folder, not a regular file";
  if (!S_ISREG(info.st_mode)) return "not a regular file (a FIFO, device or socket)";
  if (::access(file.c_str(), R_OK) != 0) return std::strerror(errno);
  return "it could not be read in full";
}

int check(const Options& options, const std::string& file) {
  auto files = newPosixFileSystem();
  std::string statError;
  std::optional<FileAttributes> attributes = files->attributes(file, &statError);
  if (!attributes) {
    print(options, "error", "(document)", "cannot read " + file + ": " + statError);
    return kRejected;
  }
  // The extension's own rules: what it refuses unread is refused here.
  std::variant<std::string, StatusFileRefusal> read =
      readStatusFile(*files, file, attributes->size);
  if (const auto* refusal = std::get_if<StatusFileRefusal>(&read)) {
    if (*refusal == StatusFileRefusal::tooLarge) {
      print(options, "error", "(document)",
            std::to_string(*attributes->size) + " bytes is over the extension's limit of " +
                std::to_string(kLargestStatusFile) + " bytes (" +
                std::to_string(kLargestStatusFile >> 20) +
                " MiB); it refuses the file unread");
    } else {
      print(options, "error", "(document)",
            "the extension cannot read " + file + ": " + whyUnreadable(file));
    }
    return kRejected;
  }
  const std::string& bytes = std::get<std::string>(read);
  DecodeResult decoded = decodeStatus(bytes);
  if (const auto* error = std::get_if<DecodeError>(&decoded)) {
    printDecodeError(options, *error);
    return kRejected;
  }
  const Status& status = std::get<Status>(decoded);
  std::vector<StatusFinding> findings = checkStatus(bytes, status, *files);
  for (const StatusFinding& finding : findings) {
    print(options, "warning", finding.jsonPath, finding.message);
  }
  if (!options.json) {
    std::printf("ok: the extension loads %s (%s, %s)\n", file.c_str(),
                counted(status.roots.size(), "root", "roots").c_str(),
                counted(findings.size(), "warning", "warnings").c_str());
  }
  return kLoads;
}

}  // namespace

int checkStatusCommand(const std::vector<std::string>& args) {
  Options options;
  for (const std::string& arg : args) {
    if (arg == "--json") {
      options.json = true;
    } else if (arg.starts_with("-")) {
      return usageError("unknown option for check-status: " + arg);
    } else if (options.file) {
      return usageError("check-status takes one FILE");
    } else {
      options.file = arg;
    }
  }
  if (!options.file) {
    std::optional<std::string> container = defaultGroupContainerPath(kAppGroupIdentifier);
    if (!container) return usageError("no default container (HOME is not set); name FILE");
    options.file = *container + "/finder/status.json";
  }
  try {
    return check(options, *options.file);
  } catch (...) {
    std::fputs("quorbitz-finder: check-status failed unexpectedly\n", stderr);
    return kRejected;
  }
}

}  // namespace quorbitz::host
