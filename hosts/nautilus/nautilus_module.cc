// SPDX-License-Identifier: Apache-2.0
// The three entry points Nautilus looks up in every extension module:
// nautilus_module_initialize, nautilus_module_list_types, nautilus_module_shutdown.
#include "gtk-common/extension_glue.h"
#include "nautilus/nautilus_api.h"
#include "nautilus/properties_models.h"

QUORBITZ_MODULE_ENTRY_POINTS(nautilus, quorbitz::NautilusApi,
                             quorbitz::NautilusPropertiesModels)
