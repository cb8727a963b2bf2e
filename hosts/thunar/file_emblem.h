// SPDX-License-Identifier: Apache-2.0
// Badges drawn as Thunar emblems without writing anything down.
//
// Thunar draws the emblems named in a file's "metadata::emblems" attribute,
// read from the information it holds in memory for the file. Setting the
// attribute on that in-memory copy shows a badge; nothing reaches the file,
// the desktop's metadata store or anything that outlives the process, and
// Thunar drops it whenever it reloads the file, which it reports as a change.
#pragma once

#include "thunar/thunarx_headers.h"

#include <optional>
#include <string_view>

namespace quorbitz {

// Makes `file` show the emblem `iconName` in place of any badge emblem it
// showed before; nullopt removes the badge emblem. Emblems the user chose
// stay. False when nothing had to change.
bool showBadgeEmblem(ThunarxFileInfo* file, std::optional<std::string_view> iconName);

// Removes the badge emblem from `file`; false when it had none.
inline bool hideBadgeEmblem(ThunarxFileInfo* file) { return showBadgeEmblem(file, std::nullopt); }

}  // namespace quorbitz
