// SPDX-License-Identifier: Apache-2.0
// The commands of `quorbitz-finder run`. Adding one takes a row in kCommands
// and a method.
#include <dirent.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <glib.h>

#include "host_session.h"
#include "menu/toolbar_item.h"
#include "status/finder_sync.h"

namespace quorbitz::host {

struct HostSession::Command {
  std::string_view name;
  size_t minArgs;
  size_t maxArgs;
  void (HostSession::*run)(const std::vector<std::string>&);
  std::string_view usage;
};

namespace {

constexpr size_t kAny = static_cast<size_t>(-1);

}  // namespace

std::span<const HostSession::Command> HostSession::commandTable() {
  static constexpr std::array<Command, 14> kCommands{{
    {"tick", 0, 0, &HostSession::cmdTick, "tick"},
    {"sleep", 1, 1, &HostSession::cmdSleep, "sleep SECONDS"},
    {"observe", 1, 1, &HostSession::cmdObserve, "observe DIR"},
    {"end-observe", 1, 1, &HostSession::cmdEndObserve, "end-observe DIR"},
    {"badge", 1, 1, &HostSession::cmdBadge, "badge PATH"},
    {"ls", 1, 1, &HostSession::cmdLs, "ls DIR"},
    {"select", 0, kAny, &HostSession::cmdSelect, "select [PATH ...]"},
    {"target", 0, 1, &HostSession::cmdTarget, "target [PATH]"},
    {"menu", 1, 1, &HostSession::cmdMenu, "menu KIND"},
    {"click", 1, 1, &HostSession::cmdClick, "click N"},
    {"action", 1, 1, &HostSession::cmdAction, "action SELECTOR"},
    {"toolbar", 0, 0, &HostSession::cmdToolbar, "toolbar"},
    {"watched", 0, 0, &HostSession::cmdWatched, "watched"},
    {"echo", 0, kAny, &HostSession::cmdEcho, "echo TEXT"},
  }};
  return kCommands;
}

namespace {

template <typename Number>
std::optional<Number> parseNumber(const std::string& text) {
  Number value{};
  auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// libc++, the standard library of macOS, has no from_chars for floating
// point; GLib's parser ignores the locale just as well.
std::optional<double> parseSeconds(const std::string& text) {
  char* end = nullptr;
  double value = g_ascii_strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size()) return std::nullopt;
  return value;
}

std::string joinPath(const std::string& dir, const std::string& name) {
  return !dir.empty() && dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::optional<std::vector<std::string>> sortedEntries(const std::string& dir) {
  DIR* stream = ::opendir(dir.c_str());
  if (!stream) return std::nullopt;
  std::vector<std::string> names;
  while (dirent* entry = ::readdir(stream)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(stream);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

void HostSession::runCommand(const std::string& name,
                             const std::vector<std::string>& args) {
  std::span<const Command> commands = commandTable();
  auto command = std::find_if(commands.begin(), commands.end(),
                              [&](const Command& known) { return known.name == name; });
  if (command == commands.end()) {
    error("unknown command: " + name);
    return;
  }
  if (args.size() < command->minArgs || args.size() > command->maxArgs) {
    error("usage: " + std::string(command->usage));
    return;
  }
  (this->*command->run)(args);
}

void HostSession::cmdTick(const std::vector<std::string>&) {
  platform_.runLoop().fireTimers();
  platform_.runLoop().drainMainQueue();
}

void HostSession::cmdSleep(const std::vector<std::string>& args) {
  std::optional<double> seconds = parseSeconds(args[0]);
  if (!seconds || !std::isfinite(*seconds) || *seconds < 0 || *seconds > 86400) {
    error("usage: sleep SECONDS (a number from 0 to 86400)");
    return;
  }
  sleeping_ = true;
  g_timeout_add(
      static_cast<guint>(std::lround(*seconds * 1000)),
      [](gpointer self) -> gboolean {
        auto* session = static_cast<HostSession*>(self);
        session->sleeping_ = false;
        session->events_.flush();
        session->processPendingLines();
        return G_SOURCE_REMOVE;
      },
      this);
}

void HostSession::cmdObserve(const std::vector<std::string>& args) {
  controller_->beginObservingDirectoryAtURL(args[0]);
}

void HostSession::cmdEndObserve(const std::vector<std::string>& args) {
  controller_->endObservingDirectoryAtURL(args[0]);
}

void HostSession::cmdBadge(const std::vector<std::string>& args) {
  controller_->requestBadgeIdentifierForURL(args[0]);
}

void HostSession::cmdLs(const std::vector<std::string>& args) {
  const std::string& dir = args[0];
  controller_->beginObservingDirectoryAtURL(dir);
  std::optional<std::vector<std::string>> names = sortedEntries(dir);
  if (!names) {
    error("cannot list " + dir);
    return;
  }
  for (const std::string& name : *names) {
    controller_->requestBadgeIdentifierForURL(joinPath(dir, name));
  }
}

void HostSession::cmdSelect(const std::vector<std::string>& args) {
  platform_.finder().selection = args;
}

void HostSession::cmdTarget(const std::vector<std::string>& args) {
  platform_.finder().targeted =
      args.empty() ? std::nullopt : std::optional<std::string>(args[0]);
}

void HostSession::cmdMenu(const std::vector<std::string>& args) {
  // The four kinds the file manager has: the selection, a folder's
  // background, the sidebar and the toolbar item.
  constexpr uint64_t kLastMenuKind = 3;
  std::optional<uint64_t> kind = parseNumber<uint64_t>(args[0]);
  if (!kind || *kind > kLastMenuKind) {
    error("usage: menu KIND (0 to 3)");
    return;
  }
  MenuModel menu = controller_->menuForMenuKind(*kind);
  printMenu(menu);
  lastMenu_ = std::move(menu);
}

void HostSession::printMenu(const MenuModel& menu) {
  events_.line("menu", {jsonLiteral(menu.title)});
  for (size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItemModel& item = menu.items[i];
    events_.line("item", {std::to_string(i + 1), jsonLiteral(item.title),
                          std::string(selectorName(item.action)), item.on ? "on" : "off"});
  }
}

void HostSession::cmdClick(const std::vector<std::string>& args) {
  std::optional<size_t> number = parseNumber<size_t>(args[0]);
  if (!lastMenu_) {
    error("no menu to click in");
    return;
  }
  if (!number || *number < 1 || *number > lastMenu_->items.size()) {
    error("no item " + args[0] + " in the last menu");
    return;
  }
  controller_->perform(lastMenu_->items[*number - 1].action);
}

void HostSession::cmdAction(const std::vector<std::string>& args) {
  std::optional<Selector> selector = selectorNamed(args[0]);
  if (!selector) {
    error("unknown action: " + args[0]);
    return;
  }
  controller_->perform(*selector);
}

void HostSession::cmdToolbar(const std::vector<std::string>&) {
  std::string name = controller_->toolbarItemName();
  std::string toolTip = controller_->toolbarItemToolTip();
  ImageRef image = controller_->toolbarItemImage();
  events_.line("toolbar", {jsonLiteral(name), jsonLiteral(toolTip),
                           jsonLiteral(image ? image->symbolName() : "")});
}

void HostSession::cmdWatched(const std::vector<std::string>&) {
  std::optional<std::vector<std::string>> watched = platform_.finder().directoryURLs();
  events_.line("watched", {watched ? jsonList(*watched) : "null"});
}

void HostSession::cmdEcho(const std::vector<std::string>& args) {
  std::string text;
  for (size_t i = 0; i < args.size(); ++i) text += (i ? " " : "") + args[i];
  events_.line("echo", {jsonLiteral(text)});
}

}  // namespace quorbitz::host
