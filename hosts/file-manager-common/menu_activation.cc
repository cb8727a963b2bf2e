// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/menu_activation.h"

#include "file-manager-common/file_manager_extension.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

// File managers build the selection's menu and the background's menu
// together, so each item carries the context of its own menu rather than
// trusting whichever menu was built last.
struct Activation {
  MenuContext context;
  Selector action;
};

void activate(GObject*, gpointer data) {
  try {
    FileManagerExtension* extension = runningExtension();
    if (!extension || !data) return;
    const auto& activation = *static_cast<const Activation*>(data);
    extension->finder().reportMenuContext(activation.context);
    extension->controller().perform(activation.action);
  } catch (...) {
    // The file manager is C: an exception must not cross into it.
  }
}

void deleteActivation(gpointer data, GClosure*) { delete static_cast<Activation*>(data); }

}  // namespace

void connectActivation(gpointer menuItem, MenuContext context, Selector action) {
  g_signal_connect_data(menuItem, "activate", G_CALLBACK(activate),
                        new Activation{std::move(context), action}, &deleteActivation,
                        static_cast<GConnectFlags>(0));
}

std::string menuItemName(std::string_view menuPrefix, Selector action) {
  std::string_view selector = selectorName(action);
  if (selector.ends_with(':')) selector.remove_suffix(1);
  return std::string(menuPrefix) + "_" + std::string(selector);
}

}  // namespace quorbitz
