// SPDX-License-Identifier: Apache-2.0
// The "Quorbitz" page of the Properties dialog of the GTK 3 file managers,
// which take a page widget from an extension: name-value rows whose values
// can be selected and copied (the project link above all).
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <utility>
#include <vector>

#include "file-manager-common/status_words.h"
#include "gtk-common/item_properties.h"

namespace quorbitz {

inline GtkWidget* propertyGrid(const std::vector<std::pair<std::string, std::string>>& rows) {
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
  int row = 0;
  for (const auto& [name, value] : rows) {
    GtkWidget* nameLabel = gtk_label_new(name.c_str());
    gtk_label_set_xalign(GTK_LABEL(nameLabel), 1);
    gtk_style_context_add_class(gtk_widget_get_style_context(nameLabel), "dim-label");
    GtkWidget* valueLabel = gtk_label_new(value.c_str());
    gtk_label_set_xalign(GTK_LABEL(valueLabel), 0);
    gtk_label_set_selectable(GTK_LABEL(valueLabel), TRUE);
    gtk_label_set_line_wrap(GTK_LABEL(valueLabel), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(valueLabel), PANGO_WRAP_WORD_CHAR);
    gtk_grid_attach(GTK_GRID(grid), nameLabel, 0, row, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), valueLabel, 1, row, 1, 1);
    ++row;
  }
  gtk_widget_show_all(grid);
  return grid;
}

}  // namespace quorbitz

// Defines the struct `Name` that adds the page through the property page
// provider of a file manager of Nautilus's family (prefixes as in
// file_manager_api.h; `Api` its struct from there), for ExtensionGlue.
#define QUORBITZ_PROPERTY_PAGES(Name, Api, Type, func, MACRO, Iface)                       \
  struct Name {                                                                            \
    static GType interfaceType() { return MACRO##_TYPE_PROPERTY_PAGE_PROVIDER; }           \
    static void initInterface(gpointer interface, gpointer) {                              \
      static_cast<Type##PropertyPageProvider##Iface*>(interface)->get_pages = &getPages;   \
    }                                                                                      \
    static GList* getPages(Type##PropertyPageProvider*, GList* files) {                    \
      try {                                                                                \
        const auto rows = itemPropertyRows<Api>(files);                                    \
        if (rows.empty()) return nullptr;                                                  \
        return g_list_append(nullptr, func##_property_page_new(                            \
                                          "quorbitz_properties",                           \
                                          gtk_label_new(propertiesTitle().c_str()),        \
                                          propertyGrid(rows)));                            \
      } catch (...) {                                                                      \
        return nullptr;                                                                    \
      }                                                                                    \
    }                                                                                      \
  }
