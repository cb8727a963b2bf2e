// SPDX-License-Identifier: Apache-2.0
#include "dolphin/menu_plugin.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <KFileItemListProperties>
#include <QAction>
#include <QMenu>

#include "dolphin/local_files.h"
#include "dolphin/overlay_plugin.h"
#include "file-manager-common/file_manager_extension.h"
#include "file-manager-common/menu_activation.h"
#include "file-manager-common/menu_words.h"
#include "menu/toolbar_item.h"
#include "status/finder_sync.h"

namespace quorbitz {
namespace {

QString shown(std::string_view modelTitle) {
  return QString::fromStdString(localMenuTitle(modelTitle));
}

// Each item keeps the selection its menu was built for: the action runs on
// what the user right-clicked, whatever Dolphin shows by then.
void perform(const MenuContext& context, Selector action) {
  try {
    FileManagerExtension* extension = runningExtension();
    if (!extension) return;
    extension->finder().reportMenuContext(context);
    extension->controller().perform(action);
  } catch (...) {
    // An exception must not unwind through Qt's signal delivery.
  }
}

QAction* quorbitzMenu(QObject* owner, const MenuModel& model, const MenuContext& context) {
  auto* top = new QAction(shown(model.title), owner);
  top->setToolTip(shown(kToolbarItemToolTip));
  // A menu has no parent object to die with, so it dies with its action.
  auto* submenu = new QMenu();
  QObject::connect(top, &QObject::destroyed, submenu, &QObject::deleteLater);
  for (const MenuItemModel& item : model.items) {
    QAction* entry = submenu->addAction(shown(item.title));
    const Selector action = item.action;
    QObject::connect(entry, &QAction::triggered, entry,
                     [context, action] { perform(context, action); });
  }
  top->setMenu(submenu);
  return top;
}

}  // namespace

DolphinMenu::DolphinMenu(QObject* parent, const QVariantList&)
    : KAbstractFileItemActionPlugin(parent) {
  startExtension(&DolphinOverlays::announceChange);
}

QList<QAction*> DolphinMenu::actions(const KFileItemListProperties& items, QWidget*) {
  try {
    FileManagerExtension* extension = runningExtension();
    std::vector<std::string> selection = localPaths(items.urlList());
    // Dolphin asks on every right-click: items outside the watched folders
    // cost no more than this test.
    if (!extension || selection.empty() || !extension->finder().isWatched(selection.front())) {
      return {};
    }
    MenuContext context{std::move(selection), std::nullopt};
    extension->finder().reportMenuContext(context);
    const MenuModel model = extension->controller().menuForMenuKind(kSelectedItemsMenu);
    if (model.items.empty()) return {};
    return {quorbitzMenu(this, model, context)};
  } catch (...) {
    return {};
  }
}

}  // namespace quorbitz
