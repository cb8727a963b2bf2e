// SPDX-License-Identifier: Apache-2.0
// The one factory of quorbitz-dolphin.so. Dolphin's context menus create
// the menu plugin through it; the overlay plugin of the overlayicon
// folder creates the badges' object through it, and the Properties dialog
// the "Quorbitz" page, loading this library again through a link in the
// propertiesdialog folder (the same library, so the same controller): all
// live in this one library and share its one controller.
#include <KPluginFactory>

#include "dolphin/menu_plugin.h"
#include "dolphin/overlay_plugin.h"
#include "dolphin/properties_plugin.h"

K_PLUGIN_FACTORY_WITH_JSON(QuorbitzDolphinFactory, "quorbitz-dolphin.json",
                           registerPlugin<quorbitz::DolphinMenu>();
                           registerPlugin<quorbitz::DolphinOverlays>();
                           registerPlugin<quorbitz::DolphinProperties>();)

#include "plugin_factory.moc"
