// SPDX-License-Identifier: Apache-2.0
#include "thunar/shown_files.h"

#include <algorithm>
#include <optional>

#include "gtk-common/gtk3_views_in_sight.h"
#include "gtk-common/local_path.h"

namespace quorbitz {

ShownFiles::ShownFiles(Handler onShown) : onShown_(std::move(onShown)) {
  // A signal exists once its class does, and Thunar may load extensions
  // before it has made a widget.
  gpointer widgetClass = g_type_class_ref(GTK_TYPE_WIDGET);
  mapSignal_ = g_signal_lookup("map", GTK_TYPE_WIDGET);
  mapHook_ = g_signal_add_emission_hook(mapSignal_, 0, &onWidgetMapped, this, nullptr);
  g_type_class_unref(widgetClass);
}

ShownFiles::~ShownFiles() {
  if (mapHook_) g_signal_remove_emission_hook(mapSignal_, mapHook_);
  for (const FollowedModel& followed : models_) {
    g_signal_handlers_disconnect_by_data(followed.model, this);
    g_object_weak_unref(G_OBJECT(followed.model), &onModelFinalized, this);
  }
  for (const auto& [file, path] : pathsByFile_) g_object_weak_unref(file, &onFileFinalized, this);
}

// Views are mapped when a window opens and when the user switches between
// icon, list and compact views, each time with the model they show.
gboolean ShownFiles::onWidgetMapped(GSignalInvocationHint*, guint, const GValue* values,
                                    gpointer self) {
  try {
    auto* widget = static_cast<GObject*>(g_value_get_object(&values[0]));
    if (GtkTreeModel* model = widget ? modelOf(widget) : nullptr) {
      static_cast<ShownFiles*>(self)->follow(model);
      g_object_unref(model);
    }
  } catch (...) {
    // GTK is C: an exception must not cross into it.
  }
  return TRUE;
}

void ShownFiles::follow(GtkTreeModel* model) {
  if (followed(model)) return;
  const int fileColumn = fileColumnOf(model, THUNARX_TYPE_FILE_INFO);
  if (fileColumn < 0) return;
  models_.push_back({model, fileColumn});
  g_object_weak_ref(G_OBJECT(model), &onModelFinalized, this);
  g_signal_connect(model, "row-inserted", G_CALLBACK(&onRow), this);
  g_signal_connect(model, "row-changed", G_CALLBACK(&onRow), this);
  GtkTreeIter row;
  for (bool more = gtk_tree_model_get_iter_first(model, &row); more;
       more = gtk_tree_model_iter_next(model, &row)) {
    reportRow(model, &row);
  }
}

const ShownFiles::FollowedModel* ShownFiles::followed(GtkTreeModel* model) const {
  auto found = std::find_if(models_.begin(), models_.end(),
                            [model](const FollowedModel& f) { return f.model == model; });
  return found == models_.end() ? nullptr : &*found;
}

void ShownFiles::onRow(GtkTreeModel* model, GtkTreePath*, GtkTreeIter* row, gpointer self) {
  try {
    static_cast<ShownFiles*>(self)->reportRow(model, row);
  } catch (...) {
    // GTK is C: an exception must not cross into it.
  }
}

void ShownFiles::onModelFinalized(gpointer self, GObject* model) {
  std::erase_if(static_cast<ShownFiles*>(self)->models_, [model](const FollowedModel& followed) {
    return G_OBJECT(followed.model) == model;
  });
}

void ShownFiles::onFileFinalized(gpointer self, GObject* file) {
  auto& shown = *static_cast<ShownFiles*>(self);
  auto path = shown.pathsByFile_.find(file);
  if (path == shown.pathsByFile_.end()) return;
  auto indexed = shown.filesByPath_.find(path->second);
  if (indexed != shown.filesByPath_.end() && indexed->second == file) {
    shown.filesByPath_.erase(indexed);
  }
  shown.pathsByFile_.erase(path);
}

void ShownFiles::reportRow(GtkTreeModel* model, GtkTreeIter* row) {
  const FollowedModel* files = followed(model);
  if (!files) return;
  GObject* object = nullptr;
  gtk_tree_model_get(model, row, files->fileColumn, &object, -1);
  if (!object) return;
  auto* file = THUNARX_FILE_INFO(object);
  if (std::optional<std::string> path = takeLocalPath(thunarx_file_info_get_location(file))) {
    remember(file, *path);
    onShown_(file, *path);
  }
  g_object_unref(object);
}

void ShownFiles::remember(ThunarxFileInfo* file, const std::string& path) {
  GObject* object = G_OBJECT(file);
  auto [known, added] = pathsByFile_.try_emplace(object, path);
  if (added) {
    g_object_weak_ref(object, &onFileFinalized, this);
  } else if (known->second != path) {
    known->second = path;  // renamed or moved
  }
  filesByPath_[path] = object;
}

void ShownFiles::announceChange(const std::string& path) {
  auto found = filesByPath_.find(path);
  if (found == filesByPath_.end()) return;
  thunarx_file_info_changed(THUNARX_FILE_INFO(found->second));
}

}  // namespace quorbitz
