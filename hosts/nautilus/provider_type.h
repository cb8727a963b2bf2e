// SPDX-License-Identifier: Apache-2.0
// Nautilus providers are plain GObjects that implement one provider interface.
#pragma once

#include "nautilus/nautilus_headers.h"

namespace quorbitz {

// Registers a GObject type `name` on Nautilus's module that implements
// `interfaceType`, filled in by `initInterface`; returns the type.
GType registerProviderType(GTypeModule* module, const char* name, GType interfaceType,
                           GInterfaceInitFunc initInterface);

}  // namespace quorbitz
