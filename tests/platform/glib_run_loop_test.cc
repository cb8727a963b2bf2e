// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/glib_run_loop.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <thread>

#include "status/finder_sync.h"
#include "support/fake_platform.h"
#include "support/fault_file_system.h"

namespace quorbitz {
namespace {

TEST(GlibRunLoop, WorkThatQueuesItsContinuationLetsOtherSourcesRunBetween) {
  GlibRunLoop loop(true);
  std::vector<std::string> order;
  GSourceFunc input = [](gpointer events) -> gboolean {
    static_cast<std::vector<std::string>*>(events)->push_back("input");
    return G_SOURCE_REMOVE;
  };
  std::function<void(int)> slice = [&](int left) {
    order.push_back("slice");
    if (left == 3) g_idle_add_full(G_PRIORITY_DEFAULT, input, &order, nullptr);
    if (left > 0) loop.dispatchToMain([&, left] { slice(left - 1); });
  };
  loop.dispatchToMain([&] { slice(3); });
  ASSERT_TRUE(loop.runUntil([&] { return order.size() == 5; }, std::chrono::seconds(10)));
  EXPECT_EQ(order[1], "input");
}

// The controller's timer loads read and decode on the worker; what they
// change reaches the file manager from the main queue.
TEST(GlibRunLoop, ControllerLoadsBesideTheMainThread) {
  testing::FakePlatform fake;
  GlibRunLoop loop(false);
  const std::string root = fake.temp.path() + "/Film";
  fake.temp.write("Film/a.mov", "x");
  fake.writeStatus(testing::statusJson({testing::rootJson(root)}));
  auto controller = FinderSync::create({fake.finder, *fake.containers, fake.files,
                                        fake.systemLog, fake.pasteboard, loop, fake.drawing});
  controller->requestBadgeIdentifierForURL(root + "/a.mov");
  fake.writeStatus(testing::statusJson({testing::rootJson(root, "[]", R"(["a.mov"])")}));
  loop.fireTimers();
  loop.drainMainQueue();
  EXPECT_EQ(fake.finder.calls.back(), "setBadgeIdentifier synced " + root + "/a.mov");
  EXPECT_NE(fake.files.reader, std::this_thread::get_id());
}

}  // namespace
}  // namespace quorbitz
