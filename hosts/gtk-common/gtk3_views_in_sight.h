// SPDX-License-Identifier: Apache-2.0
// The names of the files a GTK 3 file manager's windows show in sight, read
// from its mapped folder views each time they are wanted, so nothing has to
// follow windows and views as they come and go.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace quorbitz {

struct FolderViews {
  // The type of the file objects in the folder views' tree models.
  GType fileType;
  // The name of one of those files, freed with g_free.
  gchar* (*nameOf)(GObject* file);
  // For a view that shows its files without a tree model (Caja's icon
  // canvas): adds the names it shows in sight and returns true; returns
  // false for any other widget.
  bool (*readCanvas)(GtkWidget* widget, std::vector<std::string>& names) = nullptr;
};

std::vector<std::string> namesInSightOf(const FolderViews& views);

// The column of `model` whose values are of `fileType`; -1 for models of
// anything else (combo boxes, completion lists, ...).
int fileColumnOf(GtkTreeModel* model, GType fileType);

// The tree model `widget` shows (a new reference), if it has a "model"
// property.
GtkTreeModel* modelOf(GObject* widget);

}  // namespace quorbitz
