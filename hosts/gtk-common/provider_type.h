// SPDX-License-Identifier: Apache-2.0
// The providers of the GTK file managers are plain GObjects that implement one
// provider interface.
#pragma once

#include <glib-object.h>

namespace quorbitz {

// Registers a GObject type `name` on the file manager's module that implements
// `interfaceType`, filled in by `initInterface`; returns the type.
GType registerProviderType(GTypeModule* module, const char* name, GType interfaceType,
                           GInterfaceInitFunc initInterface);

}  // namespace quorbitz
