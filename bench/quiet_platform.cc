// SPDX-License-Identifier: Apache-2.0
#include "quiet_platform.h"

#include "platform/linux/xdg_group_containers.h"
#include "platform/posix/posix_file_system.h"

namespace quorbitz::bench {
namespace {

class BlankImage final : public Image {
 public:
  explicit BlankImage(Size size) : size_(size) {}
  Size size() const override { return size_; }

 private:
  Size size_;
};

class BlankCanvas final : public Canvas {
 public:
  explicit BlankCanvas(Size size) : size_(size) {}
  void fillOval(const Rect&, SystemColor) override {}
  void drawImage(const Image&, const Rect&, CompositingOperation, double) override {}
  ImageRef finish() override { return std::make_shared<BlankImage>(size_); }

 private:
  Size size_;
};

}  // namespace

void TickingRunLoop::tick() {
  for (auto& timer : timers_) timer();
  // Turn after turn until nothing is left, so that one tick is a whole
  // reload, however many turns the controller splits it into. Each turn
  // swaps the queue out first, as a real main queue runs work queued while
  // draining on a later turn.
  while (!queue_.empty()) {
    running_.swap(queue_);
    for (auto& work : running_) work();
    running_.clear();
  }
}

std::unique_ptr<Canvas> BlankDrawing::beginImage(Size size) {
  return std::make_unique<BlankCanvas>(size);
}

ImageRef BlankDrawing::emptyImage() { return std::make_shared<BlankImage>(Size{}); }

QuietParts::QuietParts()
    : containers(newXdgGroupContainers()), files(newPosixFileSystem()) {}

Platform QuietParts::platform(RunLoop& runLoop) {
  return {finder, *containers, *files, systemLog, pasteboard, runLoop, drawing};
}

}  // namespace quorbitz::bench
