// SPDX-License-Identifier: Apache-2.0
#include "status/status_checker.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "platform/platform.h"
#include "status/canonical_text.h"
#include "status/status_key_checker.h"

namespace quorbitz {
namespace {

constexpr int64_t kReadVersion = 1;

std::string indexed(std::string_view owner, size_t index) {
  return std::string(owner) + "[" + std::to_string(index) + "]";
}

bool hasComponent(std::string_view path, std::string_view name) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == name) return true;
    start = end + 1;
  }
  return false;
}

// What a path spelled neither as the file manager spells paths nor as
// relative paths are spelled has in it, or nullopt when it is plain.
std::optional<std::string> unusualSpelling(std::string_view path) {
  if (path.find("//") != std::string_view::npos) return "contains \"//\"";
  if (hasComponent(path, "..")) return "contains a \"..\" component";
  if (hasComponent(path, ".")) return "contains a \".\" component";
  return std::nullopt;
}

// The relative path a writer most likely meant by `entry`.
std::string plainRelative(std::string_view entry, std::string_view rootPath) {
  while (rootPath.ends_with('/')) rootPath.remove_suffix(1);
  std::string rootPrefix = std::string(rootPath) + "/";
  if (entry.starts_with(rootPrefix)) entry.remove_prefix(rootPrefix.size());
  while (entry.starts_with("./")) entry.remove_prefix(2);
  while (entry.starts_with('/')) entry.remove_prefix(1);
  while (entry.ends_with('/')) entry.remove_suffix(1);
  return std::string(entry);
}

std::optional<std::string> entryProblem(std::string_view entry, std::string_view rootPath) {
  const std::string write = "; write " + inQuotes(plainRelative(entry, rootPath));
  if (entry.starts_with('/')) return "is absolute; entries are relative to the root" + write;
  if (entry.starts_with("./")) return "starts with \"./\", which no item path does" + write;
  if (entry.size() > 1 && entry.ends_with('/')) {
    return "ends in \"/\", which no item path does" + write;
  }
  if (auto spelling = unusualSpelling(entry)) {
    return *spelling + "; entries are never resolved, so it matches no item";
  }
  return std::nullopt;
}

std::optional<std::string> rootPathProblem(std::string_view path) {
  constexpr std::string_view kNothingBelow = "; no item lies below it";
  if (path.empty()) return "is empty; every item on this machine lies below it";
  if (!path.starts_with('/')) return "is not absolute" + std::string(kNothingBelow);
  if (path.ends_with('/')) {
    std::string_view trimmed = path;
    while (trimmed.size() > 1 && trimmed.ends_with('/')) trimmed.remove_suffix(1);
    return "ends in \"/\"" + std::string(kNothingBelow) + "; write " + inQuotes(trimmed);
  }
  if (auto spelling = unusualSpelling(path)) {
    return *spelling + "; paths are never resolved" + std::string(kNothingBelow);
  }
  return std::nullopt;
}

void checkList(const std::vector<std::string>& entries, const std::string& listPath,
               const RootStatus& root, std::string_view emptyEntryMeaning,
               std::vector<StatusFinding>& findings) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string& entry = entries[i];
    if (entry.empty() && !emptyEntryMeaning.empty()) {
      findings.push_back({indexed(listPath, i), std::string(emptyEntryMeaning)});
    } else if (auto problem = entryProblem(entry, root.path)) {
      findings.push_back({indexed(listPath, i), *problem});
    }
  }
}

void checkRoles(const RootStatus& root, const std::string& owner, FileSystem& files,
                std::vector<StatusFinding>& findings) {
  if (!root.roles) return;
  const bool rootIsHere = files.isDirectory(root.path);
  for (std::string_view role : {"masters", "review"}) {
    auto entry = root.roles->find(std::string(role));
    if (entry == root.roles->end()) continue;
    const std::string& folder = entry->second;
    const std::string path = owner + ".roles." + std::string(role);
    if (folder.empty()) {
      findings.push_back({path, "names the root itself, which never shows a role"});
    } else if (auto problem = entryProblem(folder, root.path)) {
      findings.push_back({path, *problem});
    } else if (rootIsHere && !files.isDirectory(root.path + "/" + folder)) {
      findings.push_back({path, inQuotes(folder) + " names no folder under " + root.path});
    }
  }
}

void checkRoot(const RootStatus& root, const std::string& owner, FileSystem& files,
               std::vector<StatusFinding>& findings) {
  if (auto problem = rootPathProblem(root.path)) {
    findings.push_back({owner + ".path", *problem});
  }
  checkList(root.keptLocal, owner + ".kept_local", root,
            "\"\" names the root itself and keeps nothing below it local", findings);
  checkList(root.locked, owner + ".locked", root,
            "\"\" names the root itself and locks nothing below it; use root_locked",
            findings);
  // The root itself in `synced` is harmless: it never shows a badge.
  checkList(root.synced, owner + ".synced", root, "", findings);
  checkRoles(root, owner, files, findings);
}

bool isInside(std::string_view inner, std::string_view outer) {
  return inner.size() > outer.size() + 1 && inner.starts_with(outer) &&
         inner[outer.size()] == '/';
}

// Roots are compared as the extension compares them: canonically equivalent
// spellings are the same folder.
void checkRootRelations(const std::vector<RootStatus>& roots,
                        std::vector<StatusFinding>& findings) {
  std::vector<std::string> canonical;
  for (const RootStatus& root : roots) canonical.push_back(canonicalText(root.path));
  for (size_t index = 0; index < roots.size(); ++index) {
    const std::string path = indexed("roots", index) + ".path";
    for (size_t other = 0; other < roots.size(); ++other) {
      if (other < index && canonical[other] == canonical[index]) {
        findings.push_back({path, "same folder as " + indexed("roots", other) +
                                      "; only the first of them is used"});
        break;
      }
      if (isInside(canonical[index], canonical[other])) {
        findings.push_back(
            {path, "lies inside " + indexed("roots", other) + " (" + roots[other].path +
                       "); its items take this root's lists and flags, not that root's"});
        break;
      }
    }
  }
}

// The root a finding is about, or -1 for the top level: findings are listed
// root by root.
long rootIndexOf(std::string_view jsonPath) {
  constexpr std::string_view kRoots = "roots[";
  if (!jsonPath.starts_with(kRoots)) return -1;
  return std::strtol(jsonPath.data() + kRoots.size(), nullptr, 10);
}

}  // namespace

std::vector<StatusFinding> checkStatus(const std::string& json, const Status& status,
                                       FileSystem& files) {
  std::vector<StatusFinding> findings;
  if (status.version != kReadVersion) {
    findings.push_back({"version", std::to_string(status.version) +
                                       " is not 1; this extension reads it as format 1"});
  }
  for (size_t i = 0; i < status.roots.size(); ++i) {
    checkRoot(status.roots[i], indexed("roots", i), files, findings);
  }
  checkRootRelations(status.roots, findings);
  std::vector<StatusFinding> keys = checkStatusKeys(json);
  findings.insert(findings.end(), keys.begin(), keys.end());
  std::stable_sort(findings.begin(), findings.end(),
                   [](const StatusFinding& a, const StatusFinding& b) {
                     return rootIndexOf(a.jsonPath) < rootIndexOf(b.jsonPath);
                   });
  return findings;
}

}  // namespace quorbitz
