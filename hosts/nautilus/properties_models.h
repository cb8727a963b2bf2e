// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" section of GNOME Files' Properties dialog. From Nautilus 43
// on, an extension gives the dialog models of name-value rows rather than
// widgets; the dialog draws them as its own rows.
#pragma once

#include "file-manager-common/status_words.h"
#include "gtk-common/item_properties.h"
#include "nautilus/nautilus_api.h"

namespace quorbitz {

struct NautilusPropertiesModels {
  static GType interfaceType() { return NAUTILUS_TYPE_PROPERTIES_MODEL_PROVIDER; }

  static void initInterface(gpointer interface, gpointer) {
    static_cast<NautilusPropertiesModelProviderInterface*>(interface)->get_models =
        &getModels;
  }

  static GList* getModels(NautilusPropertiesModelProvider*, GList* files) {
    try {
      const auto rows = itemPropertyRows<NautilusApi>(files);
      if (rows.empty()) return nullptr;
      GListStore* store = g_list_store_new(NAUTILUS_TYPE_PROPERTIES_ITEM);
      for (const auto& [name, value] : rows) {
        NautilusPropertiesItem* item = nautilus_properties_item_new(name.c_str(), value.c_str());
        g_list_store_append(store, item);
        g_object_unref(item);
      }
      NautilusPropertiesModel* model =
          nautilus_properties_model_new(propertiesTitle().c_str(), G_LIST_MODEL(store));
      g_object_unref(store);
      return g_list_append(nullptr, model);
    } catch (...) {
      return nullptr;
    }
  }
};

}  // namespace quorbitz
