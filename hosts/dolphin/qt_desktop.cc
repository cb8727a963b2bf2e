// SPDX-License-Identifier: Apache-2.0
// The clipboard and the icon theme as Dolphin's Qt sees them.
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QStringList>

#include "gtk-common/desktop.h"

namespace quorbitz {

bool setClipboardText(std::string_view text) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  return true;
}

// Qt looks an icon name up when it is asked for it, so pictures written a
// moment ago are found without a reread.
void rereadIconTheme() {}

bool addIconSearchFolder(const std::string& folder) {
  QStringList paths = QIcon::themeSearchPaths();
  const QString added = QString::fromStdString(folder);
  if (!paths.contains(added)) {
    paths.append(added);
    QIcon::setThemeSearchPaths(paths);
  }
  return true;
}

}  // namespace quorbitz
