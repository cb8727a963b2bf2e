// SPDX-License-Identifier: Apache-2.0
// Badge images as icon-theme emblems: the GTK file managers draw an emblem by
// icon name only, so every registered badge becomes a PNG in the user's
// hicolor theme.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz {

// The icon name the file manager is given for a badge identifier.
std::string emblemIconName(std::string_view identifier);

class EmblemIcons {
 public:
  // `dataDir` is the user's data folder (XDG_DATA_HOME); nullopt writes nothing.
  EmblemIcons(FileSystem& files, std::optional<std::string> dataDir);

  // Writes `image` at 24 px and at 48 px under the name of `identifier`.
  // False when any file could not be written.
  bool install(const Image& image, std::string_view identifier);

 private:
  FileSystem& files_;
  std::optional<std::string> themeDir_;
};

}  // namespace quorbitz
