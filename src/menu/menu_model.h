// SPDX-License-Identifier: Apache-2.0
// A menu as plain data; the platform binding turns it into a real menu.
#pragma once

#include <string>
#include <vector>

#include "menu/selectors.h"

namespace quorbitz {

struct MenuItemModel {
  std::string title;
  Selector action;
  bool on = false;

  bool operator==(const MenuItemModel&) const = default;
};

struct MenuModel {
  std::string title;
  std::vector<MenuItemModel> items;

  bool operator==(const MenuModel&) const = default;
};

}  // namespace quorbitz
