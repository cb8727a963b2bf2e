// SPDX-License-Identifier: Apache-2.0
#include "badging/root_location.h"

#include <algorithm>
#include <string>

namespace quorbitz {
namespace {

struct Match {
  size_t length;  // of the root path, in canonical bytes
  size_t relStart;  // offset of rel in the item path (past the end for the root)
};

std::optional<Match> matchAscii(std::string_view item, std::string_view root) {
  if (!item.starts_with(root)) return std::nullopt;
  if (item.size() == root.size()) return Match{root.size(), item.size()};
  if (item[root.size()] != '/') return std::nullopt;
  return Match{root.size(), root.size() + 1};
}

// Normalisation never moves a "/" across a name, so the item's rel starts
// after as many "/" as the root path holds, plus the separator.
size_t offsetAfterSlashes(std::string_view text, size_t slashes) {
  size_t offset = 0;
  for (size_t seen = 0; seen < slashes; ++seen) {
    offset = text.find('/', offset);
    if (offset == std::string_view::npos) return text.size();
    ++offset;
  }
  return offset;
}

std::optional<Match> matchCanonical(std::string_view item,
                                    const std::string& canonicalItem,
                                    std::string_view canonicalRoot) {
  auto match = matchAscii(canonicalItem, canonicalRoot);
  if (!match) return std::nullopt;
  if (match->relStart == canonicalItem.size()) return Match{match->length, item.size()};
  size_t slashes = static_cast<size_t>(
      std::count(canonicalRoot.begin(), canonicalRoot.end(), '/'));
  return Match{match->length, offsetAfterSlashes(item, slashes + 1)};
}

// `canonicalRoot(index)` gives the canonical spelling of a root path, as a
// string or a view of one.
template <typename AsciiRoot, typename CanonicalRoot>
std::optional<Location> locateAmong(std::string_view itemPath,
                                    const std::vector<RootStatus>& roots,
                                    AsciiRoot rootPathIsAscii,
                                    CanonicalRoot canonicalRoot) {
  const bool itemIsAscii = isAscii(itemPath);
  std::optional<std::string> canonicalItem;
  const RootStatus* best = nullptr;
  Match bestMatch{};
  for (size_t index = 0; index < roots.size(); ++index) {
    const RootStatus& root = roots[index];
    std::optional<Match> match;
    if (itemIsAscii && rootPathIsAscii(index)) {
      match = matchAscii(itemPath, root.path);
    } else {
      if (!canonicalItem) canonicalItem = canonicalText(itemPath);
      match = matchCanonical(itemPath, *canonicalItem, canonicalRoot(index));
    }
    if (match && (!best || match->length > bestMatch.length)) {
      best = &root;
      bestMatch = *match;
    }
  }
  if (!best) return std::nullopt;
  return Location{best, itemPath.substr(std::min(bestMatch.relStart, itemPath.size()))};
}

}  // namespace

std::optional<Location> locate(std::string_view itemPath,
                               const std::vector<RootStatus>& roots) {
  return locateAmong(
      itemPath, roots, [&roots](size_t index) { return isAscii(roots[index].path); },
      [&roots](size_t index) { return canonicalText(roots[index].path); });
}

std::optional<CanonicalLocation> locateCanonical(
    std::string_view itemPath, std::string_view canonicalItem,
    const std::vector<std::string>& canonicalRootPaths) {
  std::optional<CanonicalLocation> best;
  size_t bestLength = 0;
  for (size_t index = 0; index < canonicalRootPaths.size(); ++index) {
    std::optional<Match> match = matchAscii(canonicalItem, canonicalRootPaths[index]);
    if (match && (!best || match->length > bestLength)) {
      best = CanonicalLocation{index, match->relStart, match->relStart};
      bestLength = match->length;
    }
  }
  if (!best) return std::nullopt;
  if (best->canonicalRelStart >= canonicalItem.size()) {
    best->canonicalRelStart = canonicalItem.size();
    best->relStart = itemPath.size();
  } else if (itemPath.substr(0, best->canonicalRelStart) !=
             canonicalItem.substr(0, best->canonicalRelStart)) {
    // Only where normalising changed the part up to the root (and the "/"
    // after it) does rel start elsewhere in the item's own spelling.
    const std::string_view root = canonicalRootPaths[best->rootIndex];
    const auto slashes = static_cast<size_t>(std::count(root.begin(), root.end(), '/'));
    best->relStart = offsetAfterSlashes(itemPath, slashes + 1);
  }
  return best;
}

bool underPrefix(std::string_view rel, const CanonicalSet& prefixes) {
  if (prefixes.empty()) return false;
  if (isAscii(rel)) return prefixes.containsCanonicalOrAncestor(rel);
  return prefixes.containsCanonicalOrAncestor(canonicalText(rel));
}

}  // namespace quorbitz
