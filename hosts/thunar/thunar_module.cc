// SPDX-License-Identifier: Apache-2.0
// The three entry points Thunar looks up in every extension module
// (thunar_extension_initialize, _list_types and _shutdown), the menu and
// property page providers, and the badges Thunar's views are made to show.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "file-manager-common/file_manager_extension.h"
#include "file-manager-common/menu_activation.h"
#include "gtk-common/gtk3_views_in_sight.h"
#include "gtk-common/local_path.h"
#include "gtk-common/property_pages.h"
#include "gtk-common/provider_type.h"
#include "gtk-common/quorbitz_menu.h"
#include "thunar/file_emblem.h"
#include "thunar/shown_files.h"
#include "thunar/thunar_api.h"
#include "thunar/thunarx_headers.h"

namespace quorbitz {
namespace {

std::array<GType, 2> gProviderTypes{};
std::unique_ptr<ShownFiles> gShownFiles;

std::optional<std::string> localPath(ThunarxFileInfo* file) {
  return file ? takeLocalPath(thunarx_file_info_get_location(file)) : std::nullopt;
}

// A shown file inside a watched folder is asked about like an item Nautilus
// asks about; its answer becomes the emblem of Thunar's copy of the file.
// Outside them, as when its root was withdrawn, it shows no badge.
void showBadge(ThunarxFileInfo* file, const std::string& path) {
  FileManagerExtension* extension = runningExtension();
  if (!extension) return;
  if (!extension->finder().isWatched(path)) {
    hideBadgeEmblem(file);
    return;
  }
  showBadgeEmblem(file, extension->requestBadge(path));
}

void askAgain(const std::string& path) {
  if (gShownFiles) gShownFiles->announceChange(path);
}

gchar* nameOf(GObject* file) { return thunarx_file_info_get_name(THUNARX_FILE_INFO(file)); }

std::vector<std::string> namesInSightInThunar() {
  return namesInSightOf({THUNARX_TYPE_FILE_INFO, &nameOf});
}

GList* getFileMenuItems(ThunarxMenuProvider*, GtkWidget*, GList* files) {
  try {
    FileManagerExtension* extension = runningExtension();
    if (!extension) return nullptr;
    std::vector<std::string> selection;
    for (GList* node = files; node; node = node->next) {
      if (auto path = localPath(static_cast<ThunarxFileInfo*>(node->data))) {
        selection.push_back(std::move(*path));
      }
    }
    // Thunar asks whenever it builds a menu of the selection, its menu bar's
    // too: items outside the watched folders cost no more than this test.
    if (selection.empty() || !extension->finder().isWatched(selection.front())) return nullptr;
    return quorbitzMenu<ThunarApi>(kSelectedItemsMenu, {std::move(selection), std::nullopt},
                                   "quorbitz_selection");
  } catch (...) {
    return nullptr;
  }
}

GList* getFolderMenuItems(ThunarxMenuProvider*, GtkWidget*, ThunarxFileInfo* folder) {
  try {
    FileManagerExtension* extension = runningExtension();
    if (!extension) return nullptr;
    std::optional<std::string> path = localPath(folder);
    if (!path || !extension->finder().isWatched(*path)) return nullptr;
    return quorbitzMenu<ThunarApi>(kFolderMenu, {std::nullopt, std::move(path)},
                                   "quorbitz_folder");
  } catch (...) {
    return nullptr;
  }
}

// The "Quorbitz" page of the Properties dialog of one item inside a root.
GList* getPropertyPages(ThunarxPropertyPageProvider*, GList* files) {
  try {
    const auto rows = itemPropertyRows<ThunarApi>(files);
    if (rows.empty()) return nullptr;
    GtkWidget* page = thunarx_property_page_new(propertiesTitle().c_str());
    gtk_container_add(GTK_CONTAINER(page), propertyGrid(rows));
    gtk_widget_show(page);
    return g_list_append(nullptr, page);
  } catch (...) {
    return nullptr;
  }
}

void initPropertyPageProvider(gpointer interface, gpointer) {
  static_cast<ThunarxPropertyPageProviderIface*>(interface)->get_pages = &getPropertyPages;
}

void initMenuProvider(gpointer interface, gpointer) {
  auto* menuInterface = static_cast<ThunarxMenuProviderIface*>(interface);
  menuInterface->get_file_menu_items = &getFileMenuItems;
  menuInterface->get_folder_menu_items = &getFolderMenuItems;
}

}  // namespace
}  // namespace quorbitz

extern "C" {

__attribute__((visibility("default"))) void thunar_extension_initialize(
    ThunarxProviderPlugin* plugin) {
  using namespace quorbitz;
  if (!plugin) return;
  try {
    // The extension hooks GTK's signals and keeps a timer on Thunar's main
    // loop, so its code must stay loaded; Thunar then never unloads it.
    thunarx_provider_plugin_set_resident(plugin, TRUE);
    gProviderTypes = {registerProviderType(G_TYPE_MODULE(plugin), "QuorbitzMenuProvider",
                                           THUNARX_TYPE_MENU_PROVIDER, &initMenuProvider),
                      registerProviderType(G_TYPE_MODULE(plugin), "QuorbitzPropertyPageProvider",
                                           THUNARX_TYPE_PROPERTY_PAGE_PROVIDER,
                                           &initPropertyPageProvider)};
    // Thunar loads its extensions on its main thread before it builds a
    // window, so the emblems exist and the watched folders are known before
    // the first view appears.
    startExtension(&askAgain, &namesInSightInThunar);
    if (!gShownFiles) gShownFiles = std::make_unique<ShownFiles>(&showBadge);
  } catch (...) {
    // Thunar is C: an exception must not cross into it.
  }
}

__attribute__((visibility("default"))) void thunar_extension_list_types(const GType** types,
                                                                         gint* count) {
  if (!types || !count) return;
  *types = quorbitz::gProviderTypes.data();
  *count = static_cast<gint>(quorbitz::gProviderTypes.size());
}

__attribute__((visibility("default"))) void thunar_extension_shutdown(void) {
  quorbitz::gShownFiles.reset();
  quorbitz::stopExtension();
}

}  // extern "C"
