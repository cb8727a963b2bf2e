// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/local_path.h"

namespace quorbitz {

std::optional<std::string> takeLocalPath(GFile* location) {
  if (!location) return std::nullopt;
  char* path = g_file_get_path(location);
  g_object_unref(location);
  if (!path) return std::nullopt;
  std::string result(path);
  g_free(path);
  return result;
}

}  // namespace quorbitz
