// SPDX-License-Identifier: Apache-2.0
#include "actions/command_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "actions/menu_actions.h"
#include "status/finder_sync.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {
namespace {

// The compact form, and a path that is not UTF-8, are what the menu actions
// below and the odd-path fault tests write; here, what JSON must escape.
TEST(CommandFile, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(serializeCommand({{"path", "/a \"q\" \\ \n\t\x01 caf\xC3\xA9"}}),
            R"({"path":"\/a \"q\" \\ \n\t\u0001 caf)" "\xC3\xA9\"}");
}

// Ten thousand menu choices in a row, every action in turn: each leaves its
// own file, named by a random UUID, holding exactly its command, and no
// descriptor stays open.
TEST(MenuActions, EveryChoiceLeavesItsOwnCommandFileAndNoOpenDescriptor) {
  testing::FakePlatform fake;
  const std::string item = fake.temp.path() + "/Film/Footage";
  const std::string path = R"(,"path":")" + std::regex_replace(item, std::regex("/"), "\\/");
  const std::vector<std::pair<Selector, std::string>> actions = {
      {Selector::keepLocal, R"({"action":"keep_local")" + path + "\"}"},
      {Selector::toggleLock, R"({"action":"toggle_lock")" + path + "\"}"},
      {Selector::importResolve, R"({"action":"resolve_import")" + path + "\"}"},
      {Selector::syncNow, R"({"action":"sync_now"})"},
      {Selector::copyLink, ""},  // the link goes to the pasteboard
      {Selector::setMasters, R"({"action":"set_role","role":"masters")" + path + "\"}"},
      {Selector::setReview, R"({"action":"set_role","role":"review")" + path + "\"}"},
      {Selector::followLink, R"({"action":"follow_link")" + path + "\"}"},
      {Selector::folderLink, R"({"action":"folder_link")" + path + "\"}"},
      {Selector::uploadLink, R"({"action":"upload_link")" + path + "\"}"},
  };
  fake.finder.selection = std::vector<std::string>{item};
  auto controller = FinderSync::create(fake.platform());
  controller->syncNow();  // the folders exist before counting descriptors
  std::filesystem::remove_all(fake.finderDir() + "/commands");
  const size_t descriptorsBefore = filesIn("/dev/fd").size();
  std::map<std::string, int> expected, found;
  for (int i = 0; i < 10'000; ++i) {
    const auto& [selector, command] = actions[i % actions.size()];
    controller->perform(selector);
    if (!command.empty()) ++expected[command];
  }
  EXPECT_EQ(filesIn("/dev/fd").size(), descriptorsBefore);
  const std::regex uuidName(
      ".*/[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\.json");
  for (const std::string& file : filesIn(fake.finderDir() + "/commands")) {
    EXPECT_TRUE(std::regex_match(file, uuidName)) << file;
    ++found[readWholeFile(file)];
  }
  EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace quorbitz::testing
