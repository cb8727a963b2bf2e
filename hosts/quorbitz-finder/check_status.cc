// SPDX-License-Identifier: Apache-2.0
#include "check_status.h"

#include <cstdio>
#include <optional>
#include <variant>

#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"
#include "status/finder_sync.h"
#include "status/json_text.h"
#include "status/status_checker.h"
#include "status/status_decoder.h"

namespace quorbitz::host {
namespace {

enum ExitStatus { kLoads = 0, kRejected = 1, kUsageError = 2 };

struct Options {
  bool json = false;
  std::optional<std::string> file;
};

int usageError(const std::string& message) {
  std::fprintf(stderr,
               "quorbitz-finder: %s\nusage: quorbitz-finder check-status [--json] [FILE]\n",
               message.c_str());
  return kUsageError;
}

void print(const Options& options, std::string_view level, std::string_view jsonPath,
           std::string_view message) {
  std::string line;
  if (options.json) {
    line = "{\"level\":";
    appendJsonString(line, level);
    line += ",\"path\":";
    appendJsonString(line, jsonPath);
    line += ",\"message\":";
    appendJsonString(line, message);
    line += "}";
  } else {
    line.append(level).append(": ").append(jsonPath).append(": ").append(message);
  }
  std::puts(line.c_str());
}

// Decode errors read "PATH: what is wrong"; tools get the two apart.
void printDecodeError(const Options& options, const std::string& description) {
  size_t colon = description.find(": ");
  if (colon == std::string::npos) {
    print(options, "error", "(document)", description);
  } else {
    print(options, "error", description.substr(0, colon), description.substr(colon + 2));
  }
}

int check(const Options& options, const std::string& file) {
  auto files = newPosixFileSystem();
  std::string statError;
  std::optional<std::string> bytes;
  if (files->attributes(file, &statError)) bytes = files->readFile(file, kStatusDecodePadding);
  if (!bytes) {
    print(options, "error", "(document)",
          "cannot read " + file + (statError.empty() ? "" : ": " + statError));
    return kRejected;
  }
  DecodeResult decoded = decodeStatus(*bytes);
  if (const auto* error = std::get_if<DecodeError>(&decoded)) {
    printDecodeError(options, error->description);
    return kRejected;
  }
  const Status& status = std::get<Status>(decoded);
  std::vector<StatusFinding> findings = checkStatus(*bytes, status, *files);
  for (const StatusFinding& finding : findings) {
    print(options, "warning", finding.jsonPath, finding.message);
  }
  if (!options.json) {
    std::printf("ok: the extension loads %s (%zu roots, %zu warnings)\n", file.c_str(),
                status.roots.size(), findings.size());
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
