// SPDX-License-Identifier: Apache-2.0
#include "demo.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "demo_tree.h"
#include "file-manager-common/menu_words.h"
#include "host_platform.h"
#include "menu/selectors.h"
#include "status/finder_sync.h"
#include "badging/badge_set.h"

namespace quorbitz::host {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Style {
  bool colour;
  std::string on(const char* code, const std::string& text) const {
    return colour ? std::string("\033[") + code + "m" + text + "\033[0m" : text;
  }
  std::string step(const std::string& text) const { return on("1;36", text); }
  std::string badge(const std::string& text) const { return on("1;32", text); }
  std::string dim(const std::string& text) const { return on("2", text); }
};

// Collects what the controller does, instead of printing raw events.
class Narrator final : public HostEvents {
 public:
  explicit Narrator(const Style& style) : style_(style) {}
  void log(std::string_view line) override {
    std::printf("   %s\n", style_.dim("system log: " + std::string(line)).c_str());
  }
  void badgeImage(std::string_view, std::string_view, Size) override { ++images; }
  void directoryURLs(const std::vector<std::string>& paths) override {
    for (const auto& path : paths) {
      std::printf("   %s\n", style_.dim("watching " + path).c_str());
    }
  }
  void badgeIdentifier(std::string_view identifier, std::string_view path) override {
    badges[std::string(path)] = std::string(identifier);
  }
  void pasteboard(std::string_view) override {}

  int images = 0;
  std::map<std::string, std::string> badges;

 private:
  const Style& style_;
};

class Demo {
 public:
  Demo(const DemoTree& tree, const Style& style)
      : tree_(tree), style_(style), narrator_(style),
        platform_(HostOptions{tree.container, false, true, tree.badgeFolder}, narrator_) {}

  int run() {
    say("1. Starting the extension on the sample project " + tree_.root);
    controller_ = FinderSync::create(platform_.platform());
    platform_.runLoop().watchFileForEarlyTicks(tree_.statusFile);
    std::printf("   %d badges registered; their pictures are in %s\n", narrator_.images,
                tree_.badgeFolder.c_str());

    say("2. A window shows the project; each item asks for its badge");
    std::printf("   %s/\n", fs::path(tree_.root).filename().c_str());
    browse(tree_.root, 1);

    const std::string footage = tree_.root + "/Footage";
    say("3. Right-click on Footage opens the Quorbitz menu");
    MenuModel menu = openMenuOn(footage);

    say("4. Choosing \"Lock Folder\" writes a command for the main application");
    if (!choose(menu, "Lock Folder")) return 1;
    std::string command = showCommand();
    if (command.empty()) return 1;

    say("5. The main application takes the command, locks the folder and rewrites "
        "status.json");
    std::error_code ignored;
    fs::remove(command, ignored);
    std::printf("   %s\n", style_.dim("\"locked\": [\"Footage\"] in " + tree_.statusFile).c_str());
    auto rewritten = Clock::now();
    writeDemoStatus(tree_, {"Footage"});
    bool changed = platform_.runLoop().runUntil(
        [&] { return narrator_.badges[footage] == "locked"; }, std::chrono::seconds(5));
    if (!changed) {
      std::printf("   Footage did not turn locked within 5 seconds.\n");
      return 1;
    }
    auto took = std::chrono::duration<double, std::milli>(Clock::now() - rewritten);
    std::printf("   Footage: %s -> %s, %.0f ms after the rewrite\n",
                style_.badge("synced").c_str(), style_.badge("locked").c_str(), took.count());

    say("6. The next menu on Footage offers to unlock it");
    menu = openMenuOn(footage);
    return contains(menu, "Unlock Folder") ? 0 : 1;
  }

 private:
  void say(const std::string& text) { std::printf("\n%s\n", style_.step(text).c_str()); }

  std::string describeBadge(const std::string& path) {
    auto badge = narrator_.badges.find(path);
    if (badge == narrator_.badges.end()) return style_.dim("(no badge)");
    std::string label;
    for (const BadgeDefinition& definition : kBadgeDefinitions) {
      if (definition.identifier == badge->second) label = definition.label;
    }
    return style_.badge(badge->second) + style_.dim(" \"" + label + "\"");
  }

  void browse(const std::string& folder, int depth, const std::string& indent = "") {
    controller_->beginObservingDirectoryAtURL(folder);
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) entries.push_back(entry);
    std::sort(entries.begin(), entries.end());
    for (size_t i = 0; i < entries.size(); ++i) {
      std::string path = entries[i].path().string();
      controller_->requestBadgeIdentifierForURL(path);
      bool last = i + 1 == entries.size();
      bool folderEntry = entries[i].is_directory(error);
      std::string name = entries[i].path().filename().string() + (folderEntry ? "/" : "");
      int width = std::max(1, 26 - 4 * depth);
      std::printf("   %s%s %-*s %s\n", indent.c_str(), last ? "└──" : "├──", width,
                  name.c_str(), describeBadge(path).c_str());
      if (folderEntry) browse(path, depth + 1, indent + (last ? "    " : "│   "));
    }
  }

  MenuModel openMenuOn(const std::string& item) {
    platform_.finder().selection = {item};
    MenuModel menu = controller_->menuForMenuKind(0);
    // In the words a Linux file manager shows; `run` prints the model's own.
    std::printf("   %s\n", localMenuTitle(menu.title).c_str());
    for (const auto& entry : menu.items) {
      std::printf("     %s %s\n", entry.on ? "[x]" : " - ", localMenuTitle(entry.title).c_str());
    }
    return menu;
  }

  static bool contains(const MenuModel& menu, const std::string& title) {
    for (const auto& entry : menu.items) {
      if (entry.title == title) return true;
    }
    return false;
  }

  bool choose(const MenuModel& menu, const std::string& title) {
    for (const auto& entry : menu.items) {
      if (entry.title == title) {
        controller_->perform(entry.action);
        return true;
      }
    }
    std::printf("   The menu has no \"%s\".\n", title.c_str());
    return false;
  }

  std::string showCommand() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(tree_.commandsFolder, error)) {
      std::ifstream in(entry.path());
      std::string content((std::istreambuf_iterator<char>(in)), {});
      std::printf("   %s\n   %s\n", entry.path().c_str(), content.c_str());
      return entry.path();
    }
    std::printf("   No command file was written.\n");
    return {};
  }

  const DemoTree& tree_;
  const Style& style_;
  Narrator narrator_;
  HostPlatform platform_;
  std::shared_ptr<FinderSync> controller_;
};

// A TMPDIR that names no folder must not abort the demo: /tmp then serves.
fs::path temporaryRoot() {
  std::error_code error;
  fs::path folder = fs::temp_directory_path(error);
  return error ? fs::path("/tmp") : folder;
}

// A new folder only we can write to: a fixed name in a shared temporary
// folder could be made beforehand by another user, with links planted in it.
std::optional<std::string> makeTemporaryFolder(const char* prefix) {
  std::string pattern = (temporaryRoot() / prefix).string() + "-XXXXXX";
  if (!mkdtemp(pattern.data())) return std::nullopt;
  return pattern;
}

}  // namespace

int runDemo(const std::optional<std::string>& keepDir) {
  Style style{isatty(STDOUT_FILENO) && !std::getenv("NO_COLOR")};
  if (keepDir && !mayHoldDemo(*keepDir)) {
    std::fprintf(stderr,
                 "quorbitz-finder: %s holds other files; --keep needs a new or empty "
                 "folder, or one a demo was kept in\n",
                 keepDir->c_str());
    return 2;
  }
  std::optional<std::string> base = keepDir ? keepDir : makeTemporaryFolder("quorbitz-demo");
  if (!base) {
    std::fprintf(stderr, "quorbitz-finder: cannot make a temporary folder\n");
    return 1;
  }
  std::error_code error;
  fs::path absolute = fs::absolute(*base, error);
  DemoTree tree = demoTreeAt(absolute.lexically_normal().string());
  // Without --keep the tree goes away afterwards, but the pictures stay.
  if (!keepDir) {
    std::optional<std::string> badges = makeTemporaryFolder("quorbitz-badges");
    if (!badges) {
      std::fprintf(stderr, "quorbitz-finder: cannot make a temporary folder\n");
      return 1;
    }
    tree.badgeFolder = *badges;
  }
  if (std::optional<std::string> refusal = buildDemoTree(tree)) {
    std::fprintf(stderr, "quorbitz-finder: cannot build the demo in %s: %s\n",
                 tree.base.c_str(), refusal->c_str());
    return keepDir ? 2 : 1;
  }
  int status = Demo(tree, style).run();
  if (keepDir) {
    std::printf("\nThe demo tree stays in %s\n", tree.base.c_str());
  } else {
    fs::remove_all(tree.base, error);
    std::printf("\nThe badge pictures stay in %s; run with --keep DIR to keep the demo "
                "tree too.\n", tree.badgeFolder.c_str());
  }
  std::printf("%s\n", status == 0 ? "Demo finished." : "Demo FAILED.");
  return status;
}

}  // namespace quorbitz::host
