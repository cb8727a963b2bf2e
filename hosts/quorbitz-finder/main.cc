// SPDX-License-Identifier: Apache-2.0
// quorbitz-finder: plays the file manager's part for the extension on Linux.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "check_status.h"
#include "demo.h"
#include "host_session.h"

namespace {

constexpr std::string_view kUsage =
    "usage: quorbitz-finder demo [--keep DIR]\n"
    "       quorbitz-finder run [--container DIR | --no-container] [--no-timer] "
    "[--badge-dir DIR]\n"
    "       quorbitz-finder check-status [--json] [FILE]\n"
    "       quorbitz-finder --help | --version\n";

constexpr std::string_view kHelp =
    "\n"
    "Plays the file manager's part for the Quorbitz extension: creates the\n"
    "controller, runs its 3-second polling timer, calls its entry points and\n"
    "prints every call it makes back, one event per line.\n"
    "\n"
    "demo               a walkthrough on a sample synced folder\n"
    "run                read commands from standard input until quit or its end\n"
    "  --container DIR  the application-group container (shared directory DIR/finder)\n"
    "  --no-container   run as if the system gave no group container\n"
    "  --no-timer       no polling timer; ticks only on the tick command\n"
    "  --badge-dir DIR  also write the badge images there as ID.png and ID@2x.png\n"
    "check-status       whether the extension loads FILE (default: status.json in the\n"
    "                   default container), and the likely mistakes in it, each\n"
    "                   with its JSON path; exit 0 loads, 1 rejected, 2 usage error\n"
    "  --json           the findings as JSON lines, for tools\n"
    "\n"
    "Commands (one per line, words split like a POSIX shell; # starts a comment):\n"
    "  tick                  one polling tick, run to completion\n"
    "  sleep SECONDS         run the run loop that long\n"
    "  observe DIR           a window starts showing DIR\n"
    "  end-observe DIR       a window stops showing DIR\n"
    "  badge PATH            the file manager asks for PATH's badge\n"
    "  ls DIR                observe DIR, then ask for the badge of each entry\n"
    "  select [PATH ...]     the selected items from now on\n"
    "  target [PATH]         the item menus are opened on from now on\n"
    "  menu KIND             ask for a menu: 0 selection, 1 folder, 2 sidebar, 3 toolbar\n"
    "  click N               choose item N of the last menu\n"
    "  action SELECTOR       call an action directly, e.g. action syncNow:\n"
    "  toolbar               read the toolbar item's name, tooltip and image\n"
    "  watched               print the watched folders\n"
    "  echo TEXT             print TEXT back (a marker for scripts)\n"
    "  quit                  end\n"
    "\n"
    "Events (standard output; text as JSON string literals):\n"
    "  log TEXT                    a system log line\n"
    "  setBadgeImage ID LABEL WxH  a badge registered\n"
    "  setDirectoryURLs PATHS      the watched folders set\n"
    "  setBadgeIdentifier ID PATH  a badge assigned\n"
    "  pasteboard TEXT             text put on the pasteboard\n"
    "  menu TITLE / item N TITLE SELECTOR on|off   a menu and its items\n"
    "  toolbar NAME TOOLTIP SYMBOL the toolbar item\n"
    "  watched PATHS | null        answer to watched\n"
    "  echo TEXT                   answer to echo\n"
    "  error TEXT                  a command that could not be run\n";

// One line, as scripts that drive the host expect; --help has the rest.
int badArguments(const std::string& message) {
  std::fprintf(stderr, "quorbitz-finder: %s (see quorbitz-finder --help)\n", message.c_str());
  return 2;
}

// Makes `folder` where missing and proves it takes a file, so that a badge
// folder that would fail is reported before the host starts.
bool isWritableFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::string probe = folder + "/.quorbitz-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

int runCommand(const std::vector<std::string>& args) {
  quorbitz::host::HostOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    auto value = [&](std::optional<std::string>& into) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      into = args[++i];
      return true;
    };
    if (option == "--container") {
      if (!value(options.container)) return badArguments("--container needs a folder");
    } else if (option == "--badge-dir") {
      if (!value(options.badgeDir)) return badArguments("--badge-dir needs a folder");
    } else if (option == "--no-container") {
      options.noContainer = true;
    } else if (option == "--no-timer") {
      options.timer = false;
    } else {
      return badArguments("unknown option for run: " + option);
    }
  }
  if (options.noContainer && options.container) {
    return badArguments("--container and --no-container exclude each other");
  }
  if (options.badgeDir && !isWritableFolder(*options.badgeDir)) {
    return badArguments("--badge-dir: cannot write into " + *options.badgeDir);
  }
  quorbitz::host::HostSession session(options, stdout);
  return session.run(STDIN_FILENO);
}

int demoCommand(const std::vector<std::string>& args) {
  std::optional<std::string> keep;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--keep") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        return badArguments("--keep needs a folder");
      }
      keep = args[++i];
    } else {
      return badArguments("unknown option for demo: " + args[i]);
    }
  }
  return quorbitz::host::runDemo(keep);
}

// With standard input closed, the next descriptor opened (GLib's own wake-up
// descriptor) would become descriptor 0 and be read as input for ever. An
// empty input takes its place: a closed input is an ended one.
void keepStandardInputTaken() {
  if (::fcntl(STDIN_FILENO, F_GETFD) != -1 || errno != EBADF) return;
  int empty = ::open("/dev/null", O_RDONLY);
  if (empty > STDIN_FILENO) ::close(empty);
}

}  // namespace

int main(int argc, char** argv) {
  keepStandardInputTaken();
  // A reader that goes away must not kill the host; writes then just fail.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (args.empty()) return badArguments("a command is needed");
  std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage.data(), stdout);
    std::fputs(kHelp.data(), stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("quorbitz-finder %s\n", QUORBITZ_VERSION);
    return 0;
  }
  if (command == "run") return runCommand(args);
  if (command == "demo") return demoCommand(args);
  if (command == "check-status") return quorbitz::host::checkStatusCommand(args);
  return badArguments("unknown command: " + command);
}
