// SPDX-License-Identifier: Apache-2.0
// The three entry points Nemo looks up in every extension module:
// nemo_module_initialize, nemo_module_list_types, nemo_module_shutdown.
#include "gtk-common/extension_glue.h"
#include "nemo/nemo_api.h"

QUORBITZ_MODULE_ENTRY_POINTS(nemo, quorbitz::NemoApi, quorbitz::NemoPropertyPages)
