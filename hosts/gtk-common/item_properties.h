// SPDX-License-Identifier: Apache-2.0
// The rows of the "Quorbitz" section of a file manager's Properties dialog,
// for the files it shows the dialog of (`Api` as in file_manager_api.h).
#pragma once

#include <glib.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file-manager-common/file_manager_extension.h"
#include "file-manager-common/status_words.h"
#include "gtk-common/local_path.h"

namespace quorbitz {

// Name and value per row; none unless the dialog is for one item inside a
// watched folder, since the facts of several items need not agree.
template <class Api>
std::vector<std::pair<std::string, std::string>> itemPropertyRows(GList* files) {
  FileManagerExtension* extension = runningExtension();
  if (!extension || !files || files->next || !files->data) return {};
  std::optional<std::string> path =
      takeLocalPath(Api::location(static_cast<typename Api::FileInfo*>(files->data)));
  if (!path || !extension->finder().isWatched(*path)) return {};
  std::optional<ItemStatus> item = extension->controller().itemStatus(*path);
  if (!item) return {};
  return propertyRows(*item);
}

}  // namespace quorbitz
