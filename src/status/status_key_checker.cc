// SPDX-License-Identifier: Apache-2.0
#include "status/status_key_checker.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "status/checked_json.h"

namespace quorbitz {
namespace {

// Further apart than this, a key is more likely the writer's own data than a
// misspelling of ours.
constexpr size_t kLargestTypoDistance = 2;

const std::vector<std::string_view> kTopKeys = {"version", "roots"};
const std::vector<std::string_view> kRootKeys = {
    "path",   "direction",   "label",          "link",  "can_lock", "kept_local",
    "locked", "synced",      "root_locked",    "can_mint_links", "roles"};
const std::vector<std::string_view> kRoleNames = {"masters", "review"};

// Case, "_" and "-" are the usual slips between naming styles
// ("canLock", "kept-local"); they cost nothing.
std::string folded(std::string_view key) {
  std::string out;
  for (char c : key) {
    if (c == '_' || c == '-') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string unknownKeyMessage(std::string_view key,
                              const std::vector<std::string_view>& known,
                              std::string_view ignoredAs) {
  std::string message = std::string(ignoredAs);
  std::string_view nearest = nearestKnownKey(key, known);
  if (!nearest.empty()) message += "; did you mean " + inQuotes(nearest) + "?";
  return message;
}

// Reports unknown and repeated keys of one object, in document order, and
// hands each first occurrence of a known key to `visit`. Keys stay in the
// parser's buffer for as long as the document is read.
template <typename Visit>
void checkKeys(ondemand::object object, const std::string& owner,
               const std::vector<std::string_view>& known, std::string_view ignoredAs,
               std::vector<StatusFinding>& findings, Visit visit) {
  std::set<std::string_view> seen;
  for (auto entry : object) {
    ondemand::field member = checked(std::move(entry));
    std::string_view key = keyText(member);
    std::string path = owner.empty() ? std::string(key) : owner + "." + std::string(key);
    if (!seen.insert(key).second) {
      findings.push_back({path, "appears more than once; the first one is read"});
      continue;
    }
    if (std::find(known.begin(), known.end(), key) == known.end()) {
      findings.push_back({path, unknownKeyMessage(key, known, ignoredAs)});
      continue;
    }
    visit(key, member.value(), path);
  }
}

void checkRootKeys(ondemand::object root, const std::string& owner,
                   std::vector<StatusFinding>& findings) {
  checkKeys(root, owner, kRootKeys, "unknown key, ignored", findings,
            [&](std::string_view key, ondemand::value value, const std::string& path) {
              ondemand::object roles;
              if (key != "roles" || value.get_object().get(roles)) return;
              checkKeys(roles, path, kRoleNames,
                        "role ignored: the extension reads \"masters\" and \"review\"",
                        findings, [](auto, auto, const auto&) {});
            });
}

void checkTopKeys(ondemand::object top, std::vector<StatusFinding>& findings) {
  checkKeys(top, "", kTopKeys, "unknown key, ignored", findings,
            [&](std::string_view key, ondemand::value value, const std::string&) {
              ondemand::array roots;
              if (key != "roots" || value.get_array().get(roots)) return;
              size_t index = 0;
              for (auto entry : roots) {
                ondemand::object members;
                std::string owner = "roots[" + std::to_string(index++) + "]";
                if (!checked(std::move(entry)).get_object().get(members)) {
                  checkRootKeys(members, owner, findings);
                }
              }
            });
}

}  // namespace

std::string_view nearestKnownKey(std::string_view key,
                                 const std::vector<std::string_view>& known) {
  std::string_view nearest;
  size_t nearestDistance = kLargestTypoDistance + 1;
  const std::string foldedKey = folded(key);
  for (std::string_view candidate : known) {
    size_t distance = editDistance(foldedKey, folded(candidate));
    if (distance < nearestDistance && distance < candidate.size()) {
      nearest = candidate;
      nearestDistance = distance;
    }
  }
  return nearest;
}

std::vector<StatusFinding> checkStatusKeys(const std::string& json) {
  std::vector<StatusFinding> findings;
  try {
    PaddedDocument text(json);
    ondemand::document document = iterateDocument(text.text());
    ondemand::object top;
    if (!document.get_object().get(top)) checkTopKeys(top, findings);
  } catch (const InvalidJson&) {
    // Only a document that decodes is walked, so there is nothing to add.
  }
  releaseLargeParserBuffers();
  return findings;
}

// Appended piece by piece: GCC 12 at -O3 misreads `"\"" + std::string(...)`
// as an overlapping copy (-Wrestrict).
std::string inQuotes(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  result.append(1, '"').append(text).append(1, '"');
  return result;
}

}  // namespace quorbitz
