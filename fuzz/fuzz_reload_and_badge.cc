// SPDX-License-Identifier: Apache-2.0
// The controller end to end over real files: a fuzzed status.json, then a
// fuzzed stream of file-manager calls.
//
// Input: the status.json bytes, a line "%%", then one call per line:
//   b PATH   badge request            o PATH / e PATH   observe / end-observe
//   s PATH   add PATH to the selection (S: an empty selection, N: none)
//   t PATH   target PATH (T: no target)
//   m K      menu of kind K           a N   action number N (of ten)
//   r        status.json gets a later date, then one tick
// Any other line is a path for a badge request. "$ROOT" anywhere stands for
// the temporary folder that holds the synced tree and the container, and
// "\n" in a path for a line feed. Without a "%%" line all bytes are the
// status document.
#include <simdjson.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_platform.h"
#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"
#include "status/finder_sync.h"

namespace quorbitz::fuzzing {
namespace {

constexpr std::string_view kSeparator = "\n%%\n";
constexpr size_t kMostCalls = 64;

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty() && lines.size() < kMostCalls) {
    size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

unsigned numberIn(std::string_view text) {
  unsigned value = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 1000) break;
  }
  return value;
}

// Every command file must be a JSON object of strings that the main
// application can read.
void checkCommandFiles(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  simdjson::dom::parser parser;
  for (const auto& entry : entries) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)),
                      std::istreambuf_iterator<char>());
    simdjson::dom::object command;
    bool valid = parser.parse(bytes).get(command) == simdjson::SUCCESS;
    if (valid) {
      for (auto member : command) valid = valid && member.value.is_string();
    }
    if (!valid) {
      std::fprintf(stderr, "unreadable command file: %s\n", bytes.c_str());
      std::abort();
    }
  }
}

void run(const std::string& statusBytes, const std::vector<std::string>& calls) {
  FuzzWorld& world = FuzzWorld::instance();
  world.clearSharedDirectory();
  world.writeStatus(statusBytes);

  FuzzFinder finder;
  auto containers = newFixedGroupContainers(world.container());
  auto files = newPosixFileSystem();
  FuzzSystemLog systemLog;
  FuzzPasteboard pasteboard;
  FuzzRunLoop runLoop;
  FuzzDrawing drawing;
  auto controller = FinderSync::create(
      {finder, *containers, *files, systemLog, pasteboard, runLoop, drawing});
  runLoop.tick();

  for (const std::string& line : calls) {
    std::string argument = line.size() >= 2 && line[1] == ' ' ? line.substr(2) : line;
    argument = replaceAll(std::move(argument), "\\n", "\n");
    switch (line.empty() || (line.size() > 1 && line[1] != ' ') ? '\0' : line[0]) {
      case 'b':
        controller->requestBadgeIdentifierForURL(argument);
        break;
      case 'o':
        controller->beginObservingDirectoryAtURL(argument);
        break;
      case 'e':
        controller->endObservingDirectoryAtURL(argument);
        break;
      case 's':
        if (!finder.selection) finder.selection.emplace();
        finder.selection->push_back(argument);
        break;
      case 'S':
        finder.selection.emplace();
        break;
      case 'N':
        finder.selection.reset();
        break;
      case 't':
        finder.targeted = argument;
        break;
      case 'T':
        finder.targeted.reset();
        break;
      case 'm':
        controller->menuForMenuKind(numberIn(argument));
        break;
      case 'a':
        controller->perform(static_cast<Selector>(numberIn(argument) % 10));
        break;
      case 'r':
        world.touchStatus();
        runLoop.tick();
        break;
      default:
        controller->requestBadgeIdentifierForURL(line);
        break;
    }
  }
  controller->toolbarItemImage();
  checkCommandFiles(world.finderDir() + "/commands");
}

}  // namespace
}  // namespace quorbitz::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorbitz::fuzzing;
  const std::string root = FuzzWorld::instance().base();
  std::string input =
      replaceAll(std::string(reinterpret_cast<const char*>(data), size), "$ROOT", root);
  size_t split = input.find(kSeparator);
  std::string status = input.substr(0, split);
  std::vector<std::string> calls;
  if (split != std::string::npos) {
    calls = splitLines(std::string_view(input).substr(split + kSeparator.size()));
  }
  run(status, calls);
  return 0;
}
