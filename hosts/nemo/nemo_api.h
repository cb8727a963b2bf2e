// SPDX-License-Identifier: Apache-2.0
// The Nemo extension interface, named for the templates in gtk-common/.
#pragma once

#include <libnemo-extension/nemo-column-provider.h>
#include <libnemo-extension/nemo-column.h>
#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-info-provider.h>
#include <libnemo-extension/nemo-menu-provider.h>
#include <libnemo-extension/nemo-property-page-provider.h>
#include <libnemo-extension/nemo-property-page.h>

#include "gtk-common/file_manager_api.h"
#include "gtk-common/property_pages.h"

namespace quorbitz {

QUORBITZ_FILE_MANAGER_API(NemoApi, Nemo, nemo, NEMO, Interface);
QUORBITZ_PROPERTY_PAGES(NemoPropertyPages, NemoApi, Nemo, nemo, NEMO, Interface);

}  // namespace quorbitz
