// SPDX-License-Identifier: Apache-2.0
// The Caja extension interface, named for the templates in gtk-common/.
#pragma once

#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-info-provider.h>
#include <libcaja-extension/caja-menu-provider.h>

#include "gtk-common/file_manager_api.h"

namespace quorbitz {

QUORBITZ_FILE_MANAGER_API(CajaApi, Caja, caja, CAJA, Iface);

}  // namespace quorbitz
