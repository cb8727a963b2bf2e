// SPDX-License-Identifier: Apache-2.0
// Ten thousand menu choices in a row: one readable command file each, the
// right one, and no file descriptor left behind.
#include <gmock/gmock.h>
#include <simdjson.h>

#include <filesystem>
#include <map>

#include "faults/fault_fixture.h"

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;

TEST(CommandFlood, EveryActionLeavesOneValidFileAndNoOpenDescriptor) {
  constexpr int kActions = 10'000;
  const std::vector<std::pair<Selector, std::string>> actions = {
      {Selector::keepLocal, "keep_local"},
      {Selector::toggleLock, "toggle_lock"},
      {Selector::importResolve, "resolve_import"},
      {Selector::syncNow, "sync_now"},
      {Selector::setMasters, "set_role masters"},
      {Selector::setReview, "set_role review"},
      {Selector::followLink, "follow_link"},
      {Selector::folderLink, "folder_link"},
      {Selector::uploadLink, "upload_link"},
  };
  FakePlatform fake;
  const std::string item = fake.temp.path() + "/Film/Footage";
  fake.finder.selection = std::vector<std::string>{item};
  auto controller = FinderSync::create(fake.platform());
  controller->syncNow();  // the folders exist before counting descriptors
  fs::remove_all(fake.finderDir() + "/commands");

  const size_t descriptorsBefore = openDescriptorCount();
  std::map<std::string, int> expected;
  for (int i = 0; i < kActions; ++i) {
    const auto& [selector, description] = actions[i % actions.size()];
    controller->perform(selector);
    ++expected[description];
  }
  EXPECT_EQ(openDescriptorCount(), descriptorsBefore);

  std::map<std::string, int> found;
  simdjson::dom::parser parser;
  for (const auto& entry : fs::directory_iterator(fake.finderDir() + "/commands")) {
    simdjson::dom::object command;
    ASSERT_EQ(parser.load(entry.path()).get(command), simdjson::SUCCESS) << entry.path();
    std::string_view action, path, role;
    ASSERT_EQ(command["action"].get(action), simdjson::SUCCESS);
    std::string description(action);
    if (command["role"].get(role) == simdjson::SUCCESS)
      description += " " + std::string(role);
    if (action != "sync_now") {
      ASSERT_EQ(command["path"].get(path), simdjson::SUCCESS);
      EXPECT_EQ(path, item);
    }
    EXPECT_EQ(command.size(), action == "sync_now"    ? 1u
                              : description == action ? 2u
                                                      : 3u);
    ++found[description];
  }
  EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace quorbitz::testing
