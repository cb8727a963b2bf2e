// SPDX-License-Identifier: Apache-2.0
#include "gtk-common/provider_type.h"

namespace quorbitz {

GType registerProviderType(GTypeModule* module, const char* name, GType interfaceType,
                           GInterfaceInitFunc initInterface) {
  const GTypeInfo typeInfo = {
      sizeof(GObjectClass), nullptr, nullptr, nullptr, nullptr, nullptr,
      sizeof(GObject),      0,       nullptr, nullptr};
  GType type = g_type_module_register_type(module, G_TYPE_OBJECT, name, &typeInfo,
                                           static_cast<GTypeFlags>(0));
  const GInterfaceInfo interfaceInfo = {initInterface, nullptr, nullptr};
  g_type_module_add_interface(module, type, interfaceType, &interfaceInfo);
  return type;
}

}  // namespace quorbitz
