// SPDX-License-Identifier: Apache-2.0
// Which synced root holds an item, and where below it the item lies.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status/canonical_set.h"
#include "status/canonical_text.h"
#include "status/status.h"

namespace quorbitz {

struct Location {
  const RootStatus* root;  // an element of the roots that were searched
  // The item path after the root's path and the "/" that follows it, in the
  // item path's own spelling; "" for the root itself. Points into the item
  // path that was passed in.
  std::string_view rel;
};

// The innermost root whose path equals the item path or is followed in it by
// "/"; of two equally long root paths the earlier wins.
std::optional<Location> locate(std::string_view itemPath,
                               const std::vector<RootStatus>& roots);

// Where an item lies, found from its canonical spelling.
struct CanonicalLocation {
  size_t rootIndex;
  // Offsets of the part below the root ("" for the root itself), in the
  // canonical spelling and in the item path as given.
  size_t canonicalRelStart;
  size_t relStart;
};

// The same choice of root as locate, made with the item path's canonical
// spelling `canonicalItem` against the roots' canonical paths.
std::optional<CanonicalLocation> locateCanonical(
    std::string_view itemPath, std::string_view canonicalItem,
    const std::vector<std::string>& canonicalRootPaths);

// True when `rel` equals a member of `prefixes` or lies below one. Probes the
// ancestors of `rel` rather than walking the set, so its cost does not grow
// with the set, and hashes `rel` once, so it grows only linearly with its
// length.
bool underPrefix(std::string_view rel, const CanonicalSet& prefixes);

}  // namespace quorbitz
