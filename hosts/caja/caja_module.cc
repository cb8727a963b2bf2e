// SPDX-License-Identifier: Apache-2.0
// The three entry points Caja looks up in every extension module:
// caja_module_initialize, caja_module_list_types, caja_module_shutdown.
#include "caja/caja_api.h"
#include "caja/caja_in_sight.h"
#include "gtk-common/extension_glue.h"

QUORBITZ_MODULE_ENTRY_POINTS(caja, quorbitz::CajaApi, quorbitz::CajaPropertyPages,
                             &quorbitz::namesInSightInCaja)
