// SPDX-License-Identifier: Apache-2.0
// The one factory of quorbitz-dolphin.so. Dolphin's context menus create
// the menu plugin through it; the overlay plugin of the overlayicon
// folder creates the badges' object through it, so both live in this one
// library and share its one controller.
#include <KPluginFactory>

#include "dolphin/menu_plugin.h"
#include "dolphin/overlay_plugin.h"

K_PLUGIN_FACTORY_WITH_JSON(QuorbitzDolphinFactory, "quorbitz-dolphin.json",
                           registerPlugin<quorbitz::DolphinMenu>();
                           registerPlugin<quorbitz::DolphinOverlays>();)

#include "plugin_factory.moc"
