// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" submenu of Dolphin's context menus.
//
// Dolphin creates this plugin for each context menu and hands it the items
// the menu is for: the selected items, or, for the window's background, the
// folder shown as the one item. It offers no way to tell a selected folder
// from the folder shown, and the controller's menu for a folder is the same
// either way, so both are built as the menu of a selection.
#pragma once

#include <KAbstractFileItemActionPlugin>

namespace quorbitz {

class DolphinMenu final : public KAbstractFileItemActionPlugin {
  Q_OBJECT

 public:
  DolphinMenu(QObject* parent, const QVariantList& args);

  // One "Quorbitz" action with the controller's items as its submenu, for
  // items inside a watched folder; none otherwise.
  QList<QAction*> actions(const KFileItemListProperties& items, QWidget* parentWidget) override;
};

}  // namespace quorbitz
