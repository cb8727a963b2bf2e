// SPDX-License-Identifier: Apache-2.0
#include "nautilus/info_provider.h"

#include "nautilus/file_location.h"
#include "nautilus/nautilus_extension.h"
#include "nautilus/provider_type.h"

namespace quorbitz {
namespace {

// Always answered at once from memory: a badge that changes later reaches
// Nautilus by invalidating the item, never through the closure.
NautilusOperationResult updateFileInfo(NautilusInfoProvider*, NautilusFileInfo* file,
                                       GClosure*, NautilusOperationHandle**) {
  try {
    NautilusExtension* extension = runningExtension();
    if (!extension || !file || nautilus_file_info_is_gone(file)) {
      return NAUTILUS_OPERATION_COMPLETE;
    }
    std::optional<std::string> path = localPath(file);
    if (!path || !extension->finder().isWatched(*path)) return NAUTILUS_OPERATION_COMPLETE;
    if (std::optional<std::string> emblem = extension->requestBadge(*path)) {
      nautilus_file_info_add_emblem(file, emblem->c_str());
    }
  } catch (...) {
    // Nautilus is C: an exception must not cross into it.
  }
  return NAUTILUS_OPERATION_COMPLETE;
}

void initInterface(gpointer interface, gpointer) {
  static_cast<NautilusInfoProviderInterface*>(interface)->update_file_info = &updateFileInfo;
}

}  // namespace

GType registerInfoProvider(GTypeModule* module) {
  return registerProviderType(module, "QuorbitzInfoProvider", NAUTILUS_TYPE_INFO_PROVIDER,
                              &initInterface);
}

}  // namespace quorbitz
