// SPDX-License-Identifier: Apache-2.0
// Nautilus, Nemo and Caja descend from one file manager and kept its
// extension interface, each under its own prefix: NautilusFileInfo /
// NemoFileInfo / CajaFileInfo, nemo_file_info_add_emblem, CAJA_TYPE_INFO_PROVIDER
// and so on. The one real difference, the window argument that Nemo's and
// Caja's menu calls take, is handled in extension_glue.h.
//
// QUORBITZ_FILE_MANAGER_API(Name, Type, func, MACRO, Iface) defines the struct
// `Name` that names one file manager's classes and functions for the
// templates in extension_glue.h and quorbitz_menu.h. `Type`, `func` and `MACRO`
// are its three prefixes (Nemo, nemo, NEMO); `Iface` is how its interface
// structs end (Interface, or Iface for Caja). Include the file manager's
// headers first.
#pragma once

#include <gio/gio.h>

#define QUORBITZ_FILE_MANAGER_API(Name, Type, func, MACRO, Iface)                        \
  struct Name {                                                                          \
    using FileInfo = Type##FileInfo;                                                     \
    using InfoProvider = Type##InfoProvider;                                             \
    using InfoProviderInterface = Type##InfoProvider##Iface;                             \
    using MenuProvider = Type##MenuProvider;                                             \
    using MenuProviderInterface = Type##MenuProvider##Iface;                             \
    using OperationResult = Type##OperationResult;                                       \
    using OperationHandle = Type##OperationHandle;                                       \
    using MenuItem = Type##MenuItem;                                                     \
    using Menu = Type##Menu;                                                             \
    static constexpr OperationResult kComplete = MACRO##_OPERATION_COMPLETE;             \
    static GType infoProviderType() { return MACRO##_TYPE_INFO_PROVIDER; }               \
    static GType menuProviderType() { return MACRO##_TYPE_MENU_PROVIDER; }               \
    static GFile* location(FileInfo* file) {                                             \
      return func##_file_info_get_location(file);                                        \
    }                                                                                    \
    static bool isGone(FileInfo* file) { return func##_file_info_is_gone(file); }        \
    static void addEmblem(FileInfo* file, const char* name) {                            \
      func##_file_info_add_emblem(file, name);                                           \
    }                                                                                    \
    static FileInfo* lookup(GFile* location) {                                           \
      return func##_file_info_lookup(location);                                          \
    }                                                                                    \
    static void invalidate(FileInfo* file) {                                             \
      func##_file_info_invalidate_extension_info(file);                                  \
    }                                                                                    \
    using ColumnProvider = Type##ColumnProvider;                                         \
    using ColumnProviderInterface = Type##ColumnProvider##Iface;                         \
    static GType columnProviderType() { return MACRO##_TYPE_COLUMN_PROVIDER; }           \
    static GObject* newColumn(const char* name, const char* attribute,                   \
                              const char* title, const char* description) {              \
      return G_OBJECT(func##_column_new(name, attribute, title, description));           \
    }                                                                                    \
    static void addStringAttribute(FileInfo* file, const char* key,                      \
                                   const char* value) {                                  \
      func##_file_info_add_string_attribute(file, key, value);                           \
    }                                                                                    \
    static MenuItem* newMenuItem(const char* name, const char* label, const char* tip) { \
      return func##_menu_item_new(name, label, tip, nullptr);                            \
    }                                                                                    \
    static Menu* newMenu() { return func##_menu_new(); }                                 \
    static void appendItem(Menu* menu, MenuItem* item) {                                 \
      func##_menu_append_item(menu, item);                                               \
    }                                                                                    \
    static void setSubmenu(MenuItem* item, Menu* menu) {                                 \
      func##_menu_item_set_submenu(item, menu);                                          \
    }                                                                                    \
  }
