// SPDX-License-Identifier: Apache-2.0
#include "dolphin/overlay_plugin.h"

#include <optional>
#include <vector>

#include <QFile>
#include <QUrl>

#include "dolphin/local_files.h"
#include "file-manager-common/file_manager_extension.h"

namespace quorbitz {
namespace {

// Dolphin makes one object and shares it between its views; should it make
// more, each is told of every change.
std::vector<DolphinOverlays*> gLiveOverlays;

QStringList overlaysFor(const std::string& path) {
  FileManagerExtension* extension = runningExtension();
  if (!extension || !extension->finder().isWatched(path)) return {};
  std::optional<std::string> emblem = extension->requestBadge(path);
  if (!emblem) return {};
  return {QString::fromStdString(*emblem)};
}

}  // namespace

DolphinOverlays::DolphinOverlays(QObject* parent, const QVariantList&)
    : KOverlayIconPlugin(parent) {
  startExtension(&DolphinOverlays::announceChange);
  gLiveOverlays.push_back(this);
}

DolphinOverlays::~DolphinOverlays() { std::erase(gLiveOverlays, this); }

QStringList DolphinOverlays::getOverlays(const QUrl& item) {
  try {
    std::optional<std::string> path = localPath(item);
    return path ? overlaysFor(*path) : QStringList();
  } catch (...) {
    // An exception must not unwind through Dolphin's item views.
    return {};
  }
}

void DolphinOverlays::announceChange(const std::string& path) {
  try {
    if (gLiveOverlays.empty()) return;
    const QUrl url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
    const QStringList overlays = overlaysFor(path);
    for (DolphinOverlays* live : gLiveOverlays) Q_EMIT live->overlaysChanged(url, overlays);
  } catch (...) {
    // Called from the main loop: nothing may unwind into it.
  }
}

}  // namespace quorbitz
