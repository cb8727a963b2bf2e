// SPDX-License-Identifier: Apache-2.0
// Realistic status.json documents and item paths for the benchmarks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorbitz::bench {

struct RootSpec {
  std::string path;
  std::vector<std::string> synced;
  std::vector<std::string> keptLocal;
  std::vector<std::string> locked;
};

std::string statusJson(const std::vector<RootSpec>& roots);

// "<top>/Day03/Cam-B/clip_000123.mov": a distinct relative path for each
// index, a hundred in a row to a
// folder and a few hundred in all.
std::string clipPath(std::string_view top, size_t index);

// `count` clip paths below `top`, starting at index `first`.
std::vector<std::string> clipPaths(std::string_view top, size_t first, size_t count);

// <bench folder>/Projects/Film-2026, the root of the item the badge
// benchmarks ask about, and <bench folder>/Projects/Show-NN for the others.
std::string filmRoot();
std::string showRoot(size_t index);

// The item deep in the film root, as the file manager would name it; the
// file exists.
inline constexpr std::string_view kDeepItemRel = "Footage/Day03/Cam-B/clip_000123.mov";
std::string deepItemPath();

}  // namespace quorbitz::bench
