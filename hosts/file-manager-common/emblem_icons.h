// SPDX-License-Identifier: Apache-2.0
// Badge images as icon-theme emblems: the GTK file managers draw an emblem by
// icon name only. An installed extension finds the emblem pictures its
// package put into the system's hicolor theme and writes nothing. One run
// from the build tree, whose pictures are in no system theme, draws them into
// a folder of its own under the user's runtime folder and adds that folder to
// the toolkit's icon search path; the user's own icon folders stay untouched.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "file-manager-common/emblem_pictures.h"
#include "platform/platform.h"

namespace quorbitz {

class EmblemIcons {
 public:
  // `privateDir` is where missing pictures are drawn to (its hicolor theme);
  // nullopt draws none.
  explicit EmblemIcons(FileSystem& files,
                       std::optional<std::string> privateDir = privateEmblemFolder());

  // Makes `identifier`'s emblem findable, drawing `image` when the system
  // theme lacks it. False when it could not.
  bool install(const Image& image, std::string_view identifier);

  // ${XDG_RUNTIME_DIR}/quorbitz/icons, or the cache folder where there is
  // no runtime folder.
  static std::optional<std::string> privateEmblemFolder();

 private:
  FileSystem& files_;
  std::optional<std::string> privateDir_;
};

// True when a system data folder's hicolor theme holds `identifier`'s
// emblem: the extension was installed with its pictures.
bool systemThemeHasEmblem(std::string_view identifier);

}  // namespace quorbitz
