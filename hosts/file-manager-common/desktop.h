// SPDX-License-Identifier: Apache-2.0
// The two things the extension needs from the toolkit its file manager is
// written in. Nautilus 43 runs GTK 4; Nemo, Caja and Thunar run GTK 3. Each
// module is built with exactly one of gtk4_desktop.cc and gtk3_desktop.cc, so
// the rest of this folder is compiled once for every file manager.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quorbitz {

// Puts `text` on the clipboard of the default display; false while the file
// manager has no display.
bool setClipboardText(std::string_view text);

// The clipboard through setClipboardText.
std::unique_ptr<Pasteboard> newClipboardPasteboard();

// Makes the toolkit reread the icon themes of the default display now, so
// that emblem files written a moment ago are found.
void rereadIconTheme();

// Adds `folder` to the icon theme search path of the default display, where
// it is not there yet, and rereads the themes. False while the file manager
// has no display.
bool addIconSearchFolder(const std::string& folder);

// The names of the items the file manager's folder views show in sight now,
// found through the toolkit's public widgets; none where they do not say.
std::vector<std::string> namesInSight();

}  // namespace quorbitz
