// SPDX-License-Identifier: Apache-2.0
// The clipboard and the icon theme as Dolphin sees them.
#include <KIconLoader>
#include <QClipboard>
#include <QGuiApplication>

#include "file-manager-common/desktop.h"

namespace quorbitz {

bool setClipboardText(std::string_view text) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  return true;
}

// KIconLoader, which draws Dolphin's overlays, looks an icon name up when it is
// asked for it, so pictures written a moment ago are found without a reread.
void rereadIconTheme() {}

// KIconLoader searches the hicolor theme of an application's own icon folder
// for every icon it loads.
bool addIconSearchFolder(const std::string& folder) {
  KIconLoader::global()->addAppDir(QStringLiteral("quorbitz"), QString::fromStdString(folder));
  return true;
}

// Dolphin asks for the overlays of the items in sight first, as it shows
// them, and draws its views itself.
std::vector<std::string> namesInSight() { return {}; }

}  // namespace quorbitz
