// SPDX-License-Identifier: Apache-2.0
// The menu for a folder, and a command written through toggleLock: against
// an mkdir of the existing commands folder and one small file written.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench_environment.h"
#include "bench_world.h"

namespace quorbitz::bench {
namespace {

// Command files are cleared away every so often, outside the timing, so
// that the folder stays the size the main application keeps it at.
constexpr size_t kFilesBetweenClearing = 1000;

std::string deepFolder() {
  const std::string item = deepItemPath();
  return item.substr(0, item.rfind('/'));
}

std::string commandsFolder() { return BenchEnvironment::get().finderDir() + "/commands"; }

void clearCommands() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(commandsFolder(), ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
}

void clearEvery(benchmark::State& state, size_t written) {
  if (written % kFilesBetweenClearing != 0) return;
  state.PauseTiming();
  clearCommands();
  state.ResumeTiming();
}

std::vector<RootShape> filmOnly() {
  return {{filmRoot(), clipPaths("Footage", 0, 100), clipPaths("Archive", 0, 10),
           clipPaths("Graded", 0, 10)}};
}

void menuForFolder(benchmark::State& state) {
  ensureFile(deepItemPath());
  World world(filmOnly());
  world.platform.finder.targeted = deepFolder();
  for (auto _ : state) {
    MenuModel menu = world.controller->menuForMenuKind(1);
    benchmark::DoNotOptimize(menu);
  }
}
BENCHMARK(menuForFolder)->Name("menu/folder");

void commandToggleLock(benchmark::State& state) {
  ensureFile(deepItemPath());
  World world(filmOnly());
  world.platform.finder.selection = std::vector<std::string>{deepFolder()};
  makeFolders(commandsFolder());
  size_t written = 0;
  for (auto _ : state) {
    world.controller->toggleLock();
    clearEvery(state, ++written);
  }
  clearCommands();
}
BENCHMARK(commandToggleLock)->Name("command/toggle_lock");

void commandFloor(benchmark::State& state) {
  const std::string folder = commandsFolder();
  makeFolders(folder);
  const std::string json = R"({"action":"toggle_lock","path":")" + deepFolder() + "\"}";
  size_t written = 0;
  char name[64];
  for (auto _ : state) {
    if (::mkdir(folder.c_str(), 0755) == 0) std::abort();
    std::snprintf(name, sizeof name, "/%036zu.json", ++written);
    int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (::write(fd, json.data(), json.size()) != static_cast<ssize_t>(json.size())) {
      std::abort();
    }
    ::close(fd);
    clearEvery(state, written);
  }
  clearCommands();
}
BENCHMARK(commandFloor)->Name("floor/command");

}  // namespace
}  // namespace quorbitz::bench
