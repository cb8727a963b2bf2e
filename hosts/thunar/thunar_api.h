// SPDX-License-Identifier: Apache-2.0
// Thunar's menu classes, named for the menu template in gtk-common/.
#pragma once

#include "thunar/thunarx_headers.h"

#include <string>
#include <string_view>

namespace quorbitz {

struct ThunarApi {
  using FileInfo = ThunarxFileInfo;
  using MenuItem = ThunarxMenuItem;
  using Menu = ThunarxMenu;

  static MenuItem* newMenuItem(const char* name, const char* label, const char* tip) {
    return thunarx_menu_item_new(name, mnemonicSafe(label).c_str(), tip, nullptr);
  }
  static Menu* newMenu() { return thunarx_menu_new(); }
  static GFile* location(FileInfo* file) { return thunarx_file_info_get_location(file); }
  static void appendItem(Menu* menu, MenuItem* item) { thunarx_menu_append_item(menu, item); }
  static void setSubmenu(MenuItem* item, Menu* menu) { thunarx_menu_item_set_menu(item, menu); }

  // Thunar shows labels with mnemonics: a title's own underscores are doubled
  // so that they show rather than underline the letter after them.
  static std::string mnemonicSafe(std::string_view title) {
    std::string label;
    for (char c : title) {
      if (c == '_') label += '_';
      label += c;
    }
    return label;
  }
};

}  // namespace quorbitz
