// SPDX-License-Identifier: Apache-2.0
// The demo's sample project: a group container and one synced root.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorbitz::host {

struct DemoTree {
  std::string base;       // everything lives below this folder
  std::string container;  // the application-group container
  std::string root;       // the synced folder
  std::string statusFile;
  std::string commandsFolder;
  std::string badgeFolder;
};

// Lays out the sample files and folders below `base` and writes the first
// status.json, making each folder in the one above it and never following a
// link. `base` and every folder and file below it must be the caller's, and
// no folder writable by other users: otherwise, or when the tree cannot be
// made, the answer says why, in one line.
std::optional<std::string> buildDemoTree(const DemoTree& tree);

// Rewrites status.json as the main application would, with `locked` as the
// root's locked folders.
bool writeDemoStatus(const DemoTree& tree, const std::vector<std::string>& locked);

DemoTree demoTreeAt(const std::string& base);

// True when `base` may take a kept demo: it does not exist, is an empty
// folder, or holds a demo kept there before and nothing else.
bool mayHoldDemo(const std::string& base);

}  // namespace quorbitz::host
