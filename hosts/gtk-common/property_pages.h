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

// One row a name-value pair, in a box rather than a grid: a GtkGrid gives
// its children to screen readers last first, a value before its name. Each
// value is labelled by its name, which a screen reader says with it.
inline GtkWidget* propertyGrid(const std::vector<std::pair<std::string, std::string>>& rows) {
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  gtk_container_set_border_width(GTK_CONTAINER(column), 12);
  GtkSizeGroup* names = gtk_size_group_new(GTK_SIZE_GROUP_HORIZONTAL);
  for (const auto& [name, value] : rows) {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    GtkWidget* nameLabel = gtk_label_new(name.c_str());
    gtk_label_set_xalign(GTK_LABEL(nameLabel), 1);
    gtk_label_set_yalign(GTK_LABEL(nameLabel), 0);
    gtk_style_context_add_class(gtk_widget_get_style_context(nameLabel), "dim-label");
    gtk_size_group_add_widget(names, nameLabel);
    GtkWidget* valueLabel = gtk_label_new(value.c_str());
    gtk_label_set_xalign(GTK_LABEL(valueLabel), 0);
    gtk_label_set_selectable(GTK_LABEL(valueLabel), TRUE);
    gtk_label_set_line_wrap(GTK_LABEL(valueLabel), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(valueLabel), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_mnemonic_widget(GTK_LABEL(nameLabel), valueLabel);
    gtk_box_pack_start(GTK_BOX(row), nameLabel, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), valueLabel, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(column), row, FALSE, FALSE, 0);
  }
  g_object_unref(names);
  gtk_widget_show_all(column);
  return column;
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
