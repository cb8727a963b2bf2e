// SPDX-License-Identifier: Apache-2.0
#include "nautilus/menu_provider.h"

#include <string>

#include "menu/toolbar_item.h"
#include "nautilus/file_location.h"
#include "nautilus/nautilus_extension.h"
#include "nautilus/provider_type.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

constexpr MenuKind kSelectedItemsMenu = 0;
constexpr MenuKind kFolderMenu = 1;

// Nautilus builds the selection menu and the background menu together, so
// each item carries the context of its own menu rather than trusting
// whichever menu was built last.
struct Activation {
  MenuContext context;
  Selector action;
};

void activate(NautilusMenuItem*, gpointer data) {
  try {
    NautilusExtension* extension = runningExtension();
    if (!extension || !data) return;
    const auto& activation = *static_cast<const Activation*>(data);
    extension->finder().reportMenuContext(activation.context);
    extension->controller().perform(activation.action);
  } catch (...) {
    // Nautilus is C: an exception must not cross into it.
  }
}

void deleteActivation(gpointer data, GClosure*) { delete static_cast<Activation*>(data); }

// Nautilus turns item names into action names shared by both menus, so each
// menu's names carry their own prefix.
std::string itemName(std::string_view prefix, Selector action) {
  std::string_view selector = selectorName(action);
  if (selector.ends_with(':')) selector.remove_suffix(1);
  return std::string(prefix) + "_" + std::string(selector);
}

NautilusMenuItem* newActionItem(const MenuItemModel& model, const MenuContext& context,
                                std::string_view prefix) {
  NautilusMenuItem* item = nautilus_menu_item_new(itemName(prefix, model.action).c_str(),
                                                  model.title.c_str(), nullptr, nullptr);
  if (!item) return nullptr;
  g_signal_connect_data(item, "activate", G_CALLBACK(activate),
                        new Activation{context, model.action}, &deleteActivation,
                        static_cast<GConnectFlags>(0));
  return item;
}

// One "Quorbitz" item whose submenu holds the controller's items; nothing
// when the controller offers none.
GList* quorbitzMenu(MenuKind kind, MenuContext context, std::string_view prefix) {
  NautilusExtension* extension = runningExtension();
  if (!extension) return nullptr;
  extension->finder().reportMenuContext(context);
  const MenuModel model = extension->controller().menuForMenuKind(kind);
  if (model.items.empty()) return nullptr;

  NautilusMenu* submenu = nautilus_menu_new();
  if (!submenu) return nullptr;
  for (const MenuItemModel& itemModel : model.items) {
    if (NautilusMenuItem* item = newActionItem(itemModel, context, prefix)) {
      nautilus_menu_append_item(submenu, item);
      g_object_unref(item);
    }
  }
  NautilusMenuItem* top =
      nautilus_menu_item_new((std::string(prefix) + "_menu").c_str(), model.title.c_str(),
                             std::string(kToolbarItemToolTip).c_str(), nullptr);
  if (top) nautilus_menu_item_set_submenu(top, submenu);
  g_object_unref(submenu);
  return top ? g_list_append(nullptr, top) : nullptr;
}

GList* getFileItems(NautilusMenuProvider*, GList* files) {
  try {
    NautilusExtension* extension = runningExtension();
    if (!extension) return nullptr;
    std::vector<std::string> selection = localPaths(files);
    // Called on every change of selection: items outside the watched
    // folders cost no more than this test.
    if (selection.empty() || !extension->finder().isWatched(selection.front())) return nullptr;
    return quorbitzMenu(kSelectedItemsMenu, {std::move(selection), std::nullopt},
                        "quorbitz_selection");
  } catch (...) {
    return nullptr;
  }
}

GList* getBackgroundItems(NautilusMenuProvider*, NautilusFileInfo* folder) {
  try {
    NautilusExtension* extension = runningExtension();
    if (!extension) return nullptr;
    std::optional<std::string> path = localPath(folder);
    if (!path || !extension->finder().isWatched(*path)) return nullptr;
    return quorbitzMenu(kFolderMenu, {std::nullopt, std::move(path)}, "quorbitz_folder");
  } catch (...) {
    return nullptr;
  }
}

void initInterface(gpointer interface, gpointer) {
  auto* menuInterface = static_cast<NautilusMenuProviderInterface*>(interface);
  menuInterface->get_file_items = &getFileItems;
  menuInterface->get_background_items = &getBackgroundItems;
}

}  // namespace

GType registerMenuProvider(GTypeModule* module) {
  return registerProviderType(module, "QuorbitzMenuProvider", NAUTILUS_TYPE_MENU_PROVIDER,
                              &initInterface);
}

}  // namespace quorbitz
