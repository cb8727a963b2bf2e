// SPDX-License-Identifier: Apache-2.0
#include "caja/caja_in_sight.h"

#include <dlfcn.h>
#include <libcaja-extension/caja-file-info.h>

#include "gtk-common/gtk3_views_in_sight.h"

namespace quorbitz {
namespace {

// Caja's canvas (a CajaIconContainer) holds one of Caja's files per icon.
// Two functions of Caja's own, which it exports though they are no part of
// its extension interface, tell which icon is the first in sight and go
// through the icons in the order they are laid out. Both are looked up in
// the running Caja; where either is missing the canvas names nothing, and
// its items in sight are re-asked about among the rest.
using FirstIconInSight = gpointer (*)(GtkWidget* canvas);
using IconCallback = void (*)(gpointer file, gpointer data);
using ForEachIcon = void (*)(GtkWidget* canvas, IconCallback callback, gpointer data);

// The canvas does not say where the items in sight end. At Caja's standard
// zoom a full HD screen holds 12 columns of its 155-pixel grid, some 130
// icons; the rest of these are re-asked about a turn early, at no extra
// cost.
constexpr size_t kMostOnCanvas = 300;

struct CanvasWalk {
  gpointer first;
  std::vector<std::string>& names;
  size_t taken = 0;
  bool reached = false;
};

void takeFromFirst(gpointer file, gpointer data) {
  auto& walk = *static_cast<CanvasWalk*>(data);
  if (file == walk.first) walk.reached = true;
  if (!walk.reached || walk.taken >= kMostOnCanvas) return;
  ++walk.taken;
  if (!G_TYPE_CHECK_INSTANCE_TYPE(file, CAJA_TYPE_FILE_INFO)) return;
  gchar* name = caja_file_info_get_name(CAJA_FILE_INFO(file));
  try {
    if (name) walk.names.emplace_back(name);
  } catch (...) {
    // Caja is C: an exception must not cross into it. The names so far do.
    walk.taken = kMostOnCanvas;
  }
  g_free(name);
}

bool readCanvas(GtkWidget* widget, std::vector<std::string>& names) {
  const GType canvas = g_type_from_name("CajaIconContainer");
  if (!canvas || !G_TYPE_CHECK_INSTANCE_TYPE(widget, canvas)) return false;
  static const auto firstInSight = reinterpret_cast<FirstIconInSight>(
      dlsym(RTLD_DEFAULT, "caja_icon_container_get_first_visible_icon"));
  static const auto forEach =
      reinterpret_cast<ForEachIcon>(dlsym(RTLD_DEFAULT, "caja_icon_container_for_each"));
  if (!firstInSight || !forEach) return true;
  CanvasWalk walk{firstInSight(widget), names};
  if (walk.first) forEach(widget, &takeFromFirst, &walk);
  return true;
}

gchar* nameOf(GObject* file) { return caja_file_info_get_name(CAJA_FILE_INFO(file)); }

}  // namespace

std::vector<std::string> namesInSightInCaja() {
  return namesInSightOf({CAJA_TYPE_FILE_INFO, &nameOf, &readCanvas});
}

}  // namespace quorbitz
