// The emblem provider Nautilus asks about every item it shows.
#pragma once

#include "platform/nautilus/nautilus_headers.h"

namespace quorbitz {

// Registers the provider type on Nautilus's module; returns it.
GType registerInfoProvider(GTypeModule* module);

}  // namespace quorbitz
