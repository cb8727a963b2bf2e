// SPDX-License-Identifier: Apache-2.0
#include "actions/command_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "actions/menu_actions.h"
#include "platform/posix/posix_file_system.h"
#include "support/fake_platform.h"

namespace quorbitz {
namespace {

using testing::readWholeFile;
using testing::TempDir;

TEST(CommandFile, SerialisesCompactlyWithEscapedSlashes) {
  struct Case {
    Command command;
    std::optional<std::string> json;
  };
  const std::vector<Case> cases = {
      {{{"action", "sync_now"}}, R"({"action":"sync_now"})"},
      {{{"action", "keep_local"}, {"path", "/Volumes/Media/Show"}},
       R"({"action":"keep_local","path":"\/Volumes\/Media\/Show"})"},
      {{{"path", "/a \"q\" \\ \n\t\x01 caf\xC3\xA9"}},
       R"({"path":"\/a \"q\" \\ \n\t\u0001 caf)" "\xC3\xA9\"}"},
      {{{"path", "/bad\xFF"}}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(serializeCommand(c.command), c.json);
  EXPECT_EQ(serializeCommand({{"action", "sync_now"}})->size(), 21u);
}

TEST(CommandFile, WritesOneUuidNamedFilePerCommandCreatingTheFolder) {
  TempDir temp;
  auto files = newPosixFileSystem();
  const std::string finderDir = temp.path() + "/container/finder";
  EXPECT_EQ(writeCommandFile(*files, finderDir, {{"action", "sync_now"}}), std::nullopt);
  EXPECT_EQ(writeCommandFile(*files, finderDir, {{"action", "sync_now"}}), std::nullopt);
  EXPECT_EQ(writeCommandFile(*files, finderDir, {{"path", "/bad\xFF"}}),
            "the path is not valid UTF-8");

  std::vector<std::string> names;
  for (const std::string& file : testing::filesIn(finderDir + "/commands")) {
    names.push_back(std::filesystem::path(file).filename());
    EXPECT_EQ(readWholeFile(file), R"({"action":"sync_now"})");
  }
  ASSERT_EQ(names.size(), 2u);
  EXPECT_NE(names[0], names[1]);
  const std::regex uuidName("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-"
                            "[0-9A-F]{12}\\.json");
  for (const auto& name : names) EXPECT_TRUE(std::regex_match(name, uuidName)) << name;
}

TEST(MenuActions, EachSelectorSendsItsCommand) {
  auto text = [](Selector selector) {
    std::optional<Command> command = commandFor(selector, "/r/F");
    return command ? *serializeCommand(*command) : std::string("none");
  };
  EXPECT_EQ(text(Selector::keepLocal), R"({"action":"keep_local","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::toggleLock), R"({"action":"toggle_lock","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::importResolve),
            R"({"action":"resolve_import","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::syncNow), R"({"action":"sync_now"})");
  EXPECT_EQ(text(Selector::copyLink), "none");
  EXPECT_EQ(text(Selector::setMasters),
            R"({"action":"set_role","role":"masters","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::setReview),
            R"({"action":"set_role","role":"review","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::followLink), R"({"action":"follow_link","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::folderLink), R"({"action":"folder_link","path":"\/r\/F"})");
  EXPECT_EQ(text(Selector::uploadLink), R"({"action":"upload_link","path":"\/r\/F"})");
}

}  // namespace
}  // namespace quorbitz
