// SPDX-License-Identifier: Apache-2.0
// Realistic status.json documents and item paths for the benchmarks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorbitz::bench {

struct RootShape {
  std::string path;
  std::vector<std::string> synced;
  std::vector<std::string> keptLocal;
  std::vector<std::string> locked;
};

std::string statusJson(const std::vector<RootShape>& roots);

// A distinct relative path for each index, a hundred in a row to a reel
// folder, forty reels to a day, such as
//   <top>/Day 02/Cam B/Reel 0041/Cafe\u0301 - Scene 02/B0041C017_Cafe\u0301_take02_v1.mov
// Seven scenes in twenty (35% of the items) carry an accent in decomposed
// form, as macOS spells names on disk. Below the benchmark roots an item path
// is about 125 bytes long.
std::string clipPath(std::string_view top, size_t index);

// `count` clip paths below `top`, starting at index `first`.
std::vector<std::string> clipPaths(std::string_view top, size_t first, size_t count);

// `paths` synced clip paths spread evenly over the roots showRoot(0) to
// showRoot(rootCount - 1), each root's its own; no kept-local or locked lists.
std::vector<RootShape> syncedRoots(size_t paths, size_t rootCount = 10);

// <bench folder>/Projects/Film-2026, the root of the item the badge
// benchmarks ask about, and <bench folder>/Projects/Show-NN for the others.
std::string filmRoot();
std::string showRoot(size_t index);

// The item deep in the film root, as the file manager would name it: clip
// kDeepItemIndex below "Footage", one with a decomposed accent.
inline constexpr size_t kDeepItemIndex = 4117;
std::string deepItemPath();

}  // namespace quorbitz::bench
