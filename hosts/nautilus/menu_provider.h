// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" submenu in Nautilus's context menus.
#pragma once

#include "nautilus/nautilus_headers.h"

namespace quorbitz {

// Registers the provider type on Nautilus's module; returns it.
GType registerMenuProvider(GTypeModule* module);

}  // namespace quorbitz
