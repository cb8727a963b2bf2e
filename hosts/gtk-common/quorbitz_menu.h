// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" submenu, built from the controller's menu model with the menu
// classes of one file manager.
//
// `Api` names that file manager's menu classes and functions (see
// file_manager_api.h for Nautilus, Nemo and Caja):
//   using MenuItem = ...; using Menu = ...;
//   static MenuItem* newMenuItem(const char* name, const char* label, const char* tip);
//   static Menu* newMenu();
//   static void appendItem(Menu*, MenuItem*);
//   static void setSubmenu(MenuItem*, Menu*);
// Nemo refuses a null tip, so items without one get "".
// Thunar's ThunarxMenuItem and ThunarxMenu fit as well. Callers catch what
// these throw: the file manager is C.
#pragma once

#include <glib-object.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "file-manager-common/file_manager_extension.h"
#include "file-manager-common/menu_activation.h"
#include "file-manager-common/menu_words.h"
#include "menu/toolbar_item.h"
#include "status/finder_sync.h"

namespace quorbitz {

// A list of one "Quorbitz" item whose submenu holds the controller's items for
// `kind` and `context`; nullptr when the extension is not running or the
// controller offers nothing. `menuPrefix` keeps the item names of this menu
// apart from those of the other menu of the same right-click.
template <class Api>
GList* quorbitzMenu(MenuKind kind, const MenuContext& context,
                    std::string_view menuPrefix) {
  FileManagerExtension* extension = runningExtension();
  if (!extension) return nullptr;
  extension->finder().reportMenuContext(context);
  const MenuModel model = extension->controller().menuForMenuKind(kind);
  if (model.items.empty()) return nullptr;

  typename Api::Menu* submenu = Api::newMenu();
  if (!submenu) return nullptr;
  for (const MenuItemModel& itemModel : model.items) {
    typename Api::MenuItem* item = Api::newMenuItem(
        menuItemName(menuPrefix, itemModel.action).c_str(),
        localMenuTitle(itemModel.title).c_str(), "");
    if (!item) continue;
    connectActivation(item, context, itemModel.action);
    Api::appendItem(submenu, item);
    g_object_unref(item);
  }
  typename Api::MenuItem* top =
      Api::newMenuItem((std::string(menuPrefix) + "_menu").c_str(),
                       localMenuTitle(model.title).c_str(),
                       localMenuTitle(kToolbarItemToolTip).c_str());
  if (top) Api::setSubmenu(top, submenu);
  g_object_unref(submenu);
  return top ? g_list_append(nullptr, top) : nullptr;
}

// The menu of the selected items, given by their local paths in the file
// manager's order; nullptr when the first is outside every watched folder.
// File managers ask on every change of selection, so items outside the
// watched folders cost no more than that test.
template <class Api>
GList* selectionMenu(std::vector<std::string> selection) {
  FileManagerExtension* extension = runningExtension();
  if (!extension || selection.empty() ||
      !extension->finder().isWatched(selection.front())) {
    return nullptr;
  }
  return quorbitzMenu<Api>(kSelectedItemsMenu, {std::move(selection), std::nullopt},
                           "quorbitz_selection");
}

// The menu of the folder shown, given by its local path; nullptr outside the
// watched folders.
template <class Api>
GList* folderMenu(std::optional<std::string> folder) {
  FileManagerExtension* extension = runningExtension();
  if (!extension || !folder || !extension->finder().isWatched(*folder)) return nullptr;
  return quorbitzMenu<Api>(kFolderMenu, {std::nullopt, std::move(folder)},
                           "quorbitz_folder");
}

}  // namespace quorbitz
