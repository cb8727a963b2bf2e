// SPDX-License-Identifier: Apache-2.0
// The emblem provider Nautilus asks about every item it shows.
#pragma once

#include "nautilus/nautilus_headers.h"

namespace quorbitz {

// Registers the provider type on Nautilus's module; returns it.
GType registerInfoProvider(GTypeModule* module);

}  // namespace quorbitz
