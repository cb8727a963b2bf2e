// SPDX-License-Identifier: Apache-2.0
// The three entry points Nautilus looks up in every extension module.
#include <array>

#include "nautilus/info_provider.h"
#include "nautilus/menu_provider.h"
#include "nautilus/nautilus_extension.h"
#include "nautilus/nautilus_headers.h"

namespace {

std::array<GType, 2> gProviderTypes{};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void nautilus_module_initialize(GTypeModule* module) {
  if (!module) return;
  gProviderTypes = {quorbitz::registerInfoProvider(module),
                    quorbitz::registerMenuProvider(module)};
  // Nautilus calls this on its main thread before it shows a window, so the
  // emblems exist and the watched folders are known before the first question.
  quorbitz::startExtension();
}

__attribute__((visibility("default"))) void nautilus_module_list_types(const GType** types,
                                                                        int* count) {
  if (!types || !count) return;
  *types = gProviderTypes.data();
  *count = static_cast<int>(gProviderTypes.size());
}

__attribute__((visibility("default"))) void nautilus_module_shutdown(void) {
  quorbitz::stopExtension();
}

}  // extern "C"
