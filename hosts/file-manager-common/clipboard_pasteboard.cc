// SPDX-License-Identifier: Apache-2.0
#include "file-manager-common/desktop.h"

namespace quorbitz {
namespace {

class ClipboardPasteboard final : public Pasteboard {
 public:
  // Setting new text replaces the old, so there is nothing to clear first.
  void clearContents() override {}
  bool setString(std::string_view text) override { return setClipboardText(text); }
};

}  // namespace

std::unique_ptr<Pasteboard> newClipboardPasteboard() {
  return std::make_unique<ClipboardPasteboard>();
}

}  // namespace quorbitz
