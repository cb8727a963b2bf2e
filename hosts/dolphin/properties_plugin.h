// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" page of Dolphin's Properties dialog (KIO's
// KPropertiesDialog, which loads its page plugins from the propertiesdialog
// plugin folder): an item's status, project, sync direction, lock and link
// as text a screen reader reads and the user can select. Dolphin has no
// column plugins, so this page and the menu are where the status is text.
#pragma once

#include <KPropertiesDialog>
#include <QVariantList>
#if __has_include(<KPropertiesDialogPlugin>)
#include <KPropertiesDialogPlugin>  // KF6 declares the plugin apart
#endif

namespace quorbitz {

class DolphinProperties final : public KPropertiesDialogPlugin {
  Q_OBJECT

 public:
  // `parent` is the dialog; the page is added only for one item inside a
  // watched folder.
  DolphinProperties(QObject* parent, const QVariantList& args);
};

}  // namespace quorbitz
