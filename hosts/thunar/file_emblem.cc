// SPDX-License-Identifier: Apache-2.0
#include "thunar/file_emblem.h"

#include <string>
#include <vector>

#include "file-manager-common/emblem_icons.h"

namespace quorbitz {
namespace {

constexpr const char* kEmblemsAttribute = "metadata::emblems";

bool isBadgeEmblem(std::string_view iconName) {
  return iconName.starts_with(emblemIconName(""));
}

}  // namespace

bool showBadgeEmblem(ThunarxFileInfo* file, std::optional<std::string_view> iconName) {
  GFileInfo* info = file ? thunarx_file_info_get_file_info(file) : nullptr;
  if (!info) return false;
  // The badge comes first: Thunar draws the first emblem at the icon's
  // lower right, where a badge belongs, and at small sizes only two.
  std::vector<std::string> emblems;
  if (iconName) emblems.emplace_back(*iconName);
  std::vector<std::string> before;
  if (char** current = g_file_info_get_attribute_stringv(info, kEmblemsAttribute)) {
    for (char** name = current; *name; ++name) {
      before.emplace_back(*name);
      if (!isBadgeEmblem(*name)) emblems.emplace_back(*name);
    }
  }
  const bool changed = emblems != before;
  if (changed && emblems.empty()) {
    g_file_info_remove_attribute(info, kEmblemsAttribute);
  } else if (changed) {
    std::vector<char*> names;
    for (std::string& emblem : emblems) names.push_back(emblem.data());
    names.push_back(nullptr);
    g_file_info_set_attribute_stringv(info, kEmblemsAttribute, names.data());
  }
  g_object_unref(info);
  return changed;
}

}  // namespace quorbitz
