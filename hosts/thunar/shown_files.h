// SPDX-License-Identifier: Apache-2.0
// The files Thunar's windows show, found without a call from Thunar.
//
// Thunar's extension interface never asks about the items it shows. Its
// folder views, side pane and shortcuts are GTK tree views whose models hold
// each row's file as a ThunarxFileInfo, so the extension follows those
// models: a row that appears, or that Thunar changes (it gives a reloaded
// file fresh information), is the question the interface does not ask.
#pragma once

#include "thunar/thunarx_headers.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorbitz {

class ShownFiles {
 public:
  // Called on Thunar's main thread with a shown local file and its path.
  using Handler = std::function<void(ThunarxFileInfo* file, const std::string& path)>;

  // From now on `onShown` is called for the rows of every file view that
  // appears, for those it has then and for each row added or changed later.
  explicit ShownFiles(Handler onShown);
  ~ShownFiles();
  ShownFiles(const ShownFiles&) = delete;
  ShownFiles& operator=(const ShownFiles&) = delete;

  // Tells Thunar that the shown file at `path` changed: every view showing
  // it redraws it and `onShown` is called for it again. Nothing happens for
  // a file no view has shown.
  void announceChange(const std::string& path);

 private:
  struct FollowedModel {
    GtkTreeModel* model;
    int fileColumn;
  };

  static gboolean onWidgetMapped(GSignalInvocationHint*, guint, const GValue* values,
                                 gpointer self);
  static void onRow(GtkTreeModel* model, GtkTreePath*, GtkTreeIter* row, gpointer self);
  static void onModelFinalized(gpointer self, GObject* model);
  static void onFileFinalized(gpointer self, GObject* file);

  // Follows `model`, once, if it holds files.
  void follow(GtkTreeModel* model);
  const FollowedModel* followed(GtkTreeModel* model) const;
  void reportRow(GtkTreeModel* model, GtkTreeIter* row);
  void remember(ThunarxFileInfo* file, const std::string& path);

  Handler onShown_;
  guint mapSignal_ = 0;
  gulong mapHook_ = 0;
  std::vector<FollowedModel> models_;
  // Thunar shares one file object between all the views that show it. The
  // objects are held weakly: Thunar drops them with the folders it unloads.
  std::unordered_map<std::string, GObject*> filesByPath_;
  std::unordered_map<GObject*, std::string> pathsByFile_;
};

}  // namespace quorbitz
