// SPDX-License-Identifier: Apache-2.0
#include "nautilus/desktop_services.h"

#include <gtk/gtk.h>

#include <string>

namespace quorbitz {
namespace {

class GlibSystemLog final : public SystemLog {
 public:
  void log(std::string_view line) override {
    g_log("quorbitz", G_LOG_LEVEL_MESSAGE, "%s", std::string(line).c_str());
  }
};

class GtkPasteboard final : public Pasteboard {
 public:
  // Setting new text replaces the old, so there is nothing to clear first.
  void clearContents() override {}

  bool setString(std::string_view text) override {
    GdkDisplay* display = gdk_display_get_default();
    if (!display) return false;
    GdkClipboard* clipboard = gdk_display_get_clipboard(display);
    if (!clipboard) return false;
    gdk_clipboard_set_text(clipboard, std::string(text).c_str());
    return true;
  }
};

}  // namespace

std::unique_ptr<SystemLog> newGlibSystemLog() { return std::make_unique<GlibSystemLog>(); }

std::unique_ptr<Pasteboard> newGtkPasteboard() { return std::make_unique<GtkPasteboard>(); }

}  // namespace quorbitz
