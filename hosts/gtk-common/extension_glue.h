// SPDX-License-Identifier: Apache-2.0
// The providers and module entry points of a file manager whose extension
// interface is Nautilus's (Nautilus, Nemo, Caja), written once over the
// struct that QUORBITZ_FILE_MANAGER_API defines for it.
//
// The file manager loads the module, calls <prefix>_module_initialize on its
// main thread before it shows a window, then creates one object of each type
// that <prefix>_module_list_types returns: an info provider, asked about every
// item shown (update_file_info); a menu provider, asked for the items of the
// selection's and of the background's context menu; a column provider, whose
// "Sync Status" column the list view offers, off until the user adds it; and
// `Properties`, which adds the "Quorbitz" section to the Properties dialog
// and names its interface (interfaceType) and how to fill it in
// (initInterface), since each file manager's differs. `inSight` names the
// items the file manager's windows show in sight, where a host can tell.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "file-manager-common/emblem_pictures.h"
#include "file-manager-common/file_manager_extension.h"
#include "file-manager-common/status_words.h"
#include "gtk-common/local_path.h"
#include "gtk-common/provider_type.h"
#include "gtk-common/quorbitz_menu.h"

namespace quorbitz {

template <class Api, class Properties, NamesInSight inSight = nullptr>
class ExtensionGlue {
 public:
  using FileInfo = typename Api::FileInfo;

  // What <prefix>_module_initialize does: registers the two provider types on
  // `module` and starts the extension, so the emblems exist and the watched
  // folders are known before the first question.
  static void initializeModule(GTypeModule* module) {
    if (!module) return;
    providerTypes_ = {registerProviderType(module, "QuorbitzInfoProvider",
                                           Api::infoProviderType(), &initInfoProvider),
                      registerProviderType(module, "QuorbitzMenuProvider",
                                           Api::menuProviderType(), &initMenuProvider),
                      registerProviderType(module, "QuorbitzColumnProvider",
                                           Api::columnProviderType(), &initColumnProvider),
                      registerProviderType(module, "QuorbitzPropertiesProvider",
                                           Properties::interfaceType(),
                                           &Properties::initInterface)};
    startExtension(&invalidate, inSight);
  }

  static void listTypes(const GType** types, int* count) {
    if (!types || !count) return;
    *types = providerTypes_.data();
    *count = static_cast<int>(providerTypes_.size());
  }

  static void shutdownModule() { stopExtension(); }

 private:
  static std::optional<std::string> localPath(FileInfo* file) {
    return file ? takeLocalPath(Api::location(file)) : std::nullopt;
  }

  static std::vector<std::string> localPaths(GList* files) {
    std::vector<std::string> paths;
    for (GList* node = files; node; node = node->next) {
      if (std::optional<std::string> path =
              localPath(static_cast<FileInfo*>(node->data))) {
        paths.push_back(std::move(*path));
      }
    }
    return paths;
  }

  // Always answered at once from memory: a badge that changes later reaches
  // the file manager by invalidating the item, never through the closure.
  // The column's words go with the emblem, so they change on the same
  // question; the file manager drops both when it invalidates the item.
  static typename Api::OperationResult updateFileInfo(typename Api::InfoProvider*,
                                                      FileInfo* file, GClosure*,
                                                      typename Api::OperationHandle**) {
    try {
      FileManagerExtension* extension = runningExtension();
      if (!extension || !file || Api::isGone(file)) return Api::kComplete;
      std::optional<std::string> path = localPath(file);
      if (!path || !extension->finder().isWatched(*path)) return Api::kComplete;
      std::optional<BadgeId> badge = extension->requestBadgeId(*path);
      if (badge) Api::addEmblem(file, emblemIconName(badgeIdentifierText(*badge)).c_str());
      Api::addStringAttribute(file, kStatusAttribute, statusWords(badge).c_str());
    } catch (...) {
      // The file manager is C: an exception must not cross into it.
    }
    return Api::kComplete;
  }

  // Only an item the file manager holds can show an emblem; the others get
  // theirs when it first asks.
  static void invalidate(const std::string& path) {
    GFile* location = g_file_new_for_path(path.c_str());
    if (!location) return;
    if (FileInfo* file = Api::lookup(location)) {
      Api::invalidate(file);
      g_object_unref(file);
    }
    g_object_unref(location);
  }

  static GList* getFileItems(typename Api::MenuProvider*, GList* files) {
    try {
      return selectionMenu<Api>(localPaths(files));
    } catch (...) {
      return nullptr;
    }
  }

  static GList* getBackgroundItems(typename Api::MenuProvider*, FileInfo* folder) {
    try {
      return folderMenu<Api>(localPath(folder));
    } catch (...) {
      return nullptr;
    }
  }

  // Nemo and Caja pass the window the menu is for; the menu does not depend
  // on it. Taking the address below picks whichever form the interface has.
  template <class Window>
  static GList* getFileItems(typename Api::MenuProvider* provider, Window*,
                             GList* files) {
    return getFileItems(provider, files);
  }
  template <class Window>
  static GList* getBackgroundItems(typename Api::MenuProvider* provider, Window*,
                                   FileInfo* folder) {
    return getBackgroundItems(provider, folder);
  }

  static GList* getColumns(typename Api::ColumnProvider*) {
    try {
      return g_list_append(nullptr, Api::newColumn(kStatusAttribute,
                                                   kStatusAttribute,
                                                   statusColumnTitle().c_str(),
                                                   statusColumnDescription().c_str()));
    } catch (...) {
      return nullptr;
    }
  }

  static void initColumnProvider(gpointer interface, gpointer) {
    static_cast<typename Api::ColumnProviderInterface*>(interface)->get_columns =
        &getColumns;
  }

  static void initInfoProvider(gpointer interface, gpointer) {
    static_cast<typename Api::InfoProviderInterface*>(interface)->update_file_info =
        &updateFileInfo;
  }

  static void initMenuProvider(gpointer interface, gpointer) {
    auto* menuInterface = static_cast<typename Api::MenuProviderInterface*>(interface);
    menuInterface->get_file_items = &getFileItems;
    menuInterface->get_background_items = &getBackgroundItems;
  }

  static inline std::array<GType, 4> providerTypes_{};
};

}  // namespace quorbitz

// Defines the three entry points `prefix`_module_initialize, _list_types and
// _shutdown that the file manager looks up in the module, the only symbols
// the module exports, for ExtensionGlue<Api, Properties>.
#define QUORBITZ_MODULE_ENTRY_POINTS(prefix, ...)                              \
  extern "C" {                                                                 \
  __attribute__((visibility("default"))) void prefix##_module_initialize(      \
      GTypeModule* m) {                                                        \
    quorbitz::ExtensionGlue<__VA_ARGS__>::initializeModule(m);                 \
  }                                                                            \
  __attribute__((visibility("default"))) void prefix##_module_list_types(      \
      const GType** t, int* n) {                                               \
    quorbitz::ExtensionGlue<__VA_ARGS__>::listTypes(t, n);                     \
  }                                                                            \
  __attribute__((visibility("default"))) void prefix##_module_shutdown(void) { \
    quorbitz::ExtensionGlue<__VA_ARGS__>::shutdownModule();                    \
  }                                                                            \
  }
