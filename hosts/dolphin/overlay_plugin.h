// SPDX-License-Identifier: Apache-2.0
// The badges as Dolphin's overlay icons.
//
// Dolphin asks for an item's overlays while it lays the item out, on its main
// thread, and takes the answer at once; it never asks again by itself, so a
// badge that changes or leaves later is pushed with overlaysChanged.
#pragma once

#include <string>

#include <KOverlayIconPlugin>

namespace quorbitz {

class DolphinOverlays final : public KOverlayIconPlugin {
  Q_OBJECT

 public:
  // Starts the extension, once per Dolphin process.
  DolphinOverlays(QObject* parent, const QVariantList& args);
  ~DolphinOverlays() override;

  // The emblem of a local item inside a watched folder, if it has a badge.
  QStringList getOverlays(const QUrl& item) override;

  // Asks the controller again about the item at `path` and tells every view
  // the answer; an item without a badge loses its overlay.
  static void announceChange(const std::string& path);
};

}  // namespace quorbitz
