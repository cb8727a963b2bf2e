// SPDX-License-Identifier: Apache-2.0
// `quorbitz-finder run`: the stand-in file manager driven by commands on
// standard input, one per line.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "event_writer.h"
#include "host_platform.h"
#include "menu/menu_model.h"

namespace quorbitz {
class FinderSync;
}

namespace quorbitz::host {

class HostSession {
 public:
  HostSession(const HostOptions& options, std::FILE* out);
  ~HostSession();

  // Starts the controller, then serves standard input until "quit" or its
  // end. Returns the process's exit status.
  int run(int inputFd);

  // Runs one command line; false when the line asks to quit.
  bool execute(std::string line);

  // Longer input lines are skipped with an error event.
  static constexpr size_t kLongestLine = size_t{1} << 20;

  struct Command;

 private:
  void cmdTick(const std::vector<std::string>& args);
  void cmdSleep(const std::vector<std::string>& args);
  void cmdObserve(const std::vector<std::string>& args);
  void cmdEndObserve(const std::vector<std::string>& args);
  void cmdBadge(const std::vector<std::string>& args);
  void cmdLs(const std::vector<std::string>& args);
  void cmdSelect(const std::vector<std::string>& args);
  void cmdTarget(const std::vector<std::string>& args);
  void cmdMenu(const std::vector<std::string>& args);
  void cmdClick(const std::vector<std::string>& args);
  void cmdAction(const std::vector<std::string>& args);
  void cmdToolbar(const std::vector<std::string>& args);
  void cmdWatched(const std::vector<std::string>& args);
  void cmdEcho(const std::vector<std::string>& args);

  static std::span<const Command> commandTable();
  void runCommand(const std::string& name, const std::vector<std::string>& args);
  void error(const std::string& message);
  void printMenu(const MenuModel& menu);

  // Serving input from the main loop.
  static int onInput(int fd, unsigned condition, void* self);
  void takeInput(std::string_view bytes);
  void processPendingLines();
  void finish();

  EventWriter events_;
  HostPlatform platform_;
  std::shared_ptr<FinderSync> controller_;
  std::optional<MenuModel> lastMenu_;

  std::string partialLine_;
  bool skippingLongLine_ = false;
  // nullopt stands for a line that was too long.
  std::deque<std::optional<std::string>> pendingLines_;
  bool sleeping_ = false;
  bool inputEnded_ = false;
  bool quitting_ = false;
  void* mainLoop_ = nullptr;
  int inputSource_ = 0;
};

}  // namespace quorbitz::host
