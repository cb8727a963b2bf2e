// SPDX-License-Identifier: Apache-2.0
// The Nautilus extension interface, made usable from C++ and named for the
// templates in gtk-common/.
//
// nautilus-extension.h declares the module entry points without C linkage and
// relies on GLib having been included first.
#pragma once

#include <glib.h>

extern "C" {
#include <nautilus-extension.h>
}

#include "gtk-common/file_manager_api.h"

namespace quorbitz {

QUORBITZ_FILE_MANAGER_API(NautilusApi, Nautilus, nautilus, NAUTILUS, Interface);

}  // namespace quorbitz
