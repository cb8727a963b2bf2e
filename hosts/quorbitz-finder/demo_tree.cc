// SPDX-License-Identifier: Apache-2.0
#include "demo_tree.h"

#include <filesystem>

#include "event_writer.h"
#include "platform/posix/posix_file_system.h"

namespace quorbitz::host {
namespace {

namespace fs = std::filesystem;

// Relative path, and whether it is a folder.
struct Entry {
  const char* path;
  bool folder;
};

constexpr Entry kEntries[] = {
    {"Footage", true},        {"Footage/A001_clip.mov", false},
    {"Footage/A002_clip.mov", false}, {"Edit", true},
    {"Edit/cut-v3.prproj", false},    {"Masters", true},
    {"Masters/Film_v1.mov", false},   {"Review", true},
    {"Cache", true},          {"Cache/render-0001.tmp", false},
    {"budget.xlsx", false},   {"notes.txt", false},
    {".DS_Store", false},
};

constexpr const char* kSynced[] = {"Footage/A001_clip.mov", "Edit/cut-v3.prproj",
                                   "Masters/Film_v1.mov", "budget.xlsx"};

std::string jsonStrings(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + jsonLiteral(items[i]);
  return out + "]";
}

}  // namespace

DemoTree demoTreeAt(const std::string& base) {
  DemoTree tree;
  tree.base = base;
  tree.container = base + "/container";
  tree.root = base + "/Projects/Film-2026";
  tree.statusFile = tree.container + "/finder/status.json";
  tree.commandsFolder = tree.container + "/finder/commands";
  tree.badgeFolder = base + "/badges";
  return tree;
}

bool buildDemoTree(const DemoTree& tree) {
  std::error_code error;
  for (const std::string& folder :
       {tree.root, tree.container + "/finder", tree.badgeFolder}) {
    fs::create_directories(folder, error);
    if (error) return false;
  }
  for (const Entry& entry : kEntries) {
    fs::path path = fs::path(tree.root) / entry.path;
    if (entry.folder) {
      fs::create_directories(path, error);
    } else if (!replaceFile(path, "sample content\n")) {
      return false;
    }
  }
  return writeDemoStatus(tree, {});
}

bool writeDemoStatus(const DemoTree& tree, const std::vector<std::string>& locked) {
  std::vector<std::string> synced(std::begin(kSynced), std::end(kSynced));
  std::string json = "{\n  \"version\": 1,\n  \"roots\": [{\n"
                     "    \"path\": " + jsonLiteral(tree.root) + ",\n"
                     "    \"direction\": \"two-way\",\n"
                     "    \"label\": \"Film 2026\",\n"
                     "    \"link\": \"https://quorbitz.example/p/film-2026\",\n"
                     "    \"can_lock\": true,\n"
                     "    \"can_mint_links\": true,\n"
                     "    \"kept_local\": [\"Cache\"],\n"
                     "    \"locked\": " + jsonStrings(locked) + ",\n"
                     "    \"synced\": " + jsonStrings(synced) + ",\n"
                     "    \"roles\": {\"masters\": \"Masters\", \"review\": \"Review\"}\n"
                     "  }]\n}\n";
  // Written aside and renamed into place, as a careful main application does,
  // so the extension never sees half a document.
  return replaceFile(tree.statusFile, json);
}

bool mayHoldDemo(const std::string& base) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(base, error);
  if (status.type() == fs::file_type::not_found) return true;
  if (!fs::is_directory(status)) return false;
  const DemoTree tree = demoTreeAt(base);
  bool empty = true;
  for (const fs::directory_entry& entry : fs::directory_iterator(base, error)) {
    const std::string name = entry.path().filename().string();
    if (name != "container" && name != "Projects" && name != "badges") return false;
    empty = false;
  }
  if (error) return false;
  // A folder named like ours is not enough: the demo's status file must be
  // there too.
  return empty || fs::is_regular_file(fs::symlink_status(tree.statusFile, error));
}

}  // namespace quorbitz::host
