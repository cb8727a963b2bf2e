// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/status_words.h"

#include <libintl.h>

#include "file-manager-common/menu_words.h"

// Marks a text for xgettext, which collects the catalogue's source from here.
#define N_(text) text

namespace quorbitz {
namespace {

// The badges' labels, by BadgeId, as the badges register them.
constexpr const char* kBadgeWords[] = {
    N_("Synced"),
    N_("Syncing"),
    N_("Locked"),
    N_("Kept local"),
    N_("Masters \u2014 clients download this"),
    N_("Video Review \u2014 exports here go to review"),
};
static_assert(std::size(kBadgeWords) == kBadgeDefinitions.size());

std::string local(const char* text) { return dgettext(kTextDomain, text); }

}  // namespace

// TRANSLATORS: the title of a list view column.
std::string statusColumnTitle() { return local(N_("Sync Status")); }

std::string statusColumnDescription() {
  return local(N_("What Quorbitz says of the item: synced, syncing, locked\u2026"));
}

std::string statusWords(const std::optional<BadgeId>& badge) {
  return badge ? local(kBadgeWords[static_cast<size_t>(*badge)]) : std::string();
}

std::string propertiesTitle() { return localMenuTitle(kMenuTitle); }

std::vector<std::pair<std::string, std::string>> propertyRows(const ItemStatus& item) {
  std::vector<std::pair<std::string, std::string>> rows;
  if (item.badge) rows.emplace_back(local(N_("Status")), statusWords(item.badge));
  rows.emplace_back(local(N_("Project")), item.project);
  // TRANSLATORS: whether the project's files go up, down or both ways; the
  // value is the sync service's own word.
  rows.emplace_back(local(N_("Sync direction")), item.direction);
  rows.emplace_back(local(N_("Folder locked")), item.locked ? local(N_("Yes")) : local(N_("No")));
  rows.emplace_back(local(N_("Project link")), item.link);
  return rows;
}

}  // namespace quorbitz
