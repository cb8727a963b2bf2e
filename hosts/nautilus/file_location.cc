// SPDX-License-Identifier: Apache-2.0
#include "nautilus/file_location.h"

namespace quorbitz {

std::optional<std::string> localPath(NautilusFileInfo* file) {
  if (!file) return std::nullopt;
  GFile* location = nautilus_file_info_get_location(file);
  if (!location) return std::nullopt;
  char* path = g_file_get_path(location);
  g_object_unref(location);
  if (!path) return std::nullopt;
  std::string result(path);
  g_free(path);
  return result;
}

std::vector<std::string> localPaths(GList* files) {
  std::vector<std::string> paths;
  for (GList* node = files; node; node = node->next) {
    if (std::optional<std::string> path = localPath(static_cast<NautilusFileInfo*>(node->data))) {
      paths.push_back(std::move(*path));
    }
  }
  return paths;
}

}  // namespace quorbitz
