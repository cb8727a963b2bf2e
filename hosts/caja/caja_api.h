// SPDX-License-Identifier: Apache-2.0
// The Caja extension interface, named for the templates in gtk-common/.
#pragma once

#include <libcaja-extension/caja-column-provider.h>
#include <libcaja-extension/caja-column.h>
#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-info-provider.h>
#include <libcaja-extension/caja-menu-provider.h>
#include <libcaja-extension/caja-property-page-provider.h>
#include <libcaja-extension/caja-property-page.h>

#include "gtk-common/file_manager_api.h"
#include "gtk-common/property_pages.h"

namespace quorbitz {

QUORBITZ_FILE_MANAGER_API(CajaApi, Caja, caja, CAJA, Iface);
QUORBITZ_PROPERTY_PAGES(CajaPropertyPages, CajaApi, Caja, caja, CAJA, Iface);

}  // namespace quorbitz
