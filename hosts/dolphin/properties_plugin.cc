// SPDX-License-Identifier: Apache-2.0
#include "dolphin/properties_plugin.h"

#include <optional>
#include <string>

#include <QFormLayout>
#include <QLabel>
#include <QWidget>

#include "dolphin/local_files.h"
#include "file-manager-common/file_manager_extension.h"
#include "file-manager-common/status_words.h"

namespace quorbitz {
namespace {

std::optional<ItemStatus> statusOfOnlyItem(KPropertiesDialog* dialog) {
  FileManagerExtension* extension = runningExtension();
  if (!extension || !dialog || dialog->items().size() != 1) return std::nullopt;
  std::optional<std::string> path = localPath(dialog->items().first().url());
  if (!path || !extension->finder().isWatched(*path)) return std::nullopt;
  return extension->controller().itemStatus(*path);
}

QWidget* propertyPage(const ItemStatus& item) {
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  for (const auto& [name, value] : propertyRows(item)) {
    auto* valueLabel = new QLabel(QString::fromStdString(value), page);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                        Qt::TextSelectableByKeyboard);
    valueLabel->setWordWrap(true);
    // The form labels each value by its name for screen readers.
    form->addRow(QString::fromStdString(name), valueLabel);
  }
  return page;
}

}  // namespace

// The dialog is KF5's protected `properties` and KF6's properties(): the
// parent serves both.
DolphinProperties::DolphinProperties(QObject* parent, const QVariantList&)
    : KPropertiesDialogPlugin(qobject_cast<KPropertiesDialog*>(parent)) {
  try {
    auto* dialog = qobject_cast<KPropertiesDialog*>(parent);
    if (std::optional<ItemStatus> item = statusOfOnlyItem(dialog)) {
      dialog->addPage(propertyPage(*item), QString::fromStdString(propertiesTitle()));
    }
  } catch (...) {
    // An exception must not unwind into the dialog.
  }
}

}  // namespace quorbitz
