// SPDX-License-Identifier: Apache-2.0
// Local paths of the files the GTK file managers hand to their extensions.
#pragma once

#include <gio/gio.h>

#include <optional>
#include <string>

namespace quorbitz {

// The absolute path of `location`, whose reference this takes over; nullopt
// for items that are not local files (network shares, trash, search results
// without a path) and for nullptr.
std::optional<std::string> takeLocalPath(GFile* location);

}  // namespace quorbitz
