// SPDX-License-Identifier: Apache-2.0
// What a "Quorbitz" menu item of a GTK file manager does when it is chosen.
#pragma once

#include <glib-object.h>

#include <string>
#include <string_view>

#include "file-manager-common/file_manager_finder_controller.h"
#include "menu/context_menu.h"
#include "menu/selectors.h"

namespace quorbitz {

// The menu kinds the controller is asked for.
inline constexpr MenuKind kSelectedItemsMenu = 0;
inline constexpr MenuKind kFolderMenu = 1;

// Makes choosing `menuItem` (a GObject with an "activate" signal, such as
// NautilusMenuItem, NemoMenuItem, CajaMenuItem or ThunarxMenuItem) perform
// `action` on `context`, the selection or folder its menu was built for.
void connectActivation(gpointer menuItem, MenuContext context, Selector action);

// A menu item's name, unique across the menus of one right-click: file
// managers turn item names into action names shared by the selection's and
// the background's menu, so each menu's names carry their own prefix.
std::string menuItemName(std::string_view menuPrefix, Selector action);

}  // namespace quorbitz
