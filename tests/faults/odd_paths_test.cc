// SPDX-License-Identifier: Apache-2.0
// Paths the file manager may hand over on Linux: bytes that are not UTF-8,
// line feeds, quotes, backslashes, and the longest path there is. Badges,
// menus and trace lines take them as they are; a command is written exactly
// when its path can be written as JSON, and the log says when it is not.
#include <gmock/gmock.h>

#include <filesystem>

#include "actions/command_file.h"
#include "support/controller_fixture.h"
#include "support/failing_allocation.h"

namespace quorbitz::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using OddPaths = ControllerTest;

TEST_F(OddPaths, AreBadgedTracedOfferedAndSentWhenRepresentable) {
  const std::string longName(4096 - root().size() - 1, 'n');
  // A name below the root, and whether a command can hold its path.
  const std::vector<std::pair<std::string, bool>> cases = {
      {"not-utf8-\xFF\xFE", false}, {"cut-\xC3", false}, {"line\nfeed", true},
      {"quote \"d\"", true}, {"back\\slash\\", true}, {longName, true},
      {"caf\xC3\xA9 \xF0\x9F\x8E\xAC", true},
  };
  startWithGoodDocument();
  for (const auto& [name, representable] : cases) {
    const std::string path = root() + "/" + name;
    SCOPED_TRACE(path.size());
    fs::remove_all(fake.finderDir() + "/commands");

    controller->requestBadgeIdentifierForURL(path);
    EXPECT_THAT(calls(), ElementsAre("setBadgeIdentifier pending " + path));
    EXPECT_THAT(readWholeFile(fake.finderDir() + "/appex-trace.log"),
                HasSubstr(" badge? " + path + " -> pending\n"));

    fake.finder.selection = std::vector<std::string>{path};
    EXPECT_EQ(controller->menuForMenuKind(0).items.size(), 2u) << "a file's menu";
    controller->keepLocal();
    std::vector<std::string> lines = {
        "quorbitzFS: menu for " + path + " (rel '" + name + "')",
        "quorbitzFS: keepLocal " + path};
    const std::vector<std::string> written = filesIn(fake.finderDir() + "/commands");
    if (representable) {
      ASSERT_EQ(written.size(), 1u);
      EXPECT_EQ(readWholeFile(written[0]),
                serializeCommand({{"action", "keep_local"}, {"path", path}}));
    } else {
      EXPECT_THAT(written, ::testing::IsEmpty());
      lines.push_back(
          "quorbitzFS: keepLocal \u2014 command not written: the path is not valid UTF-8");
    }
    EXPECT_EQ(logs(), lines);
  }
  expectGoodDocumentInForce();
}

// Linux keeps `Kelvin` and `\u212Aelvin` (KELVIN SIGN), equal as text, as two
// folders: a load that locks Kelvin re-assigns the badge of each.
TEST_F(OddPaths, EquivalentSpellingsOfTwoFoldersAreEachReassigned) {
  startWithGoodDocument();
  std::vector<std::string> folders;
  for (const std::string name : {"Kelvin", "\u212Aelvin"}) {
    fake.temp.makeFolder("Film/" + name);
    folders.push_back(root() + "/" + name);
    controller->requestBadgeIdentifierForURL(folders.back());
  }
  calls();
  fake.writeStatus(statusJson({rootJson(root(), R"(["Footage","Kelvin"])", R"(["clip.mov"])")}));
  fake.tick();
  EXPECT_THAT(calls(),
              ::testing::UnorderedElementsAre("setBadgeIdentifier locked " + folders[0] + "/",
                                              "setBadgeIdentifier locked " + folders[1] + "/"));
}

// A badge request costs the same with ten roots spelled in decomposed
// Unicode as with a thousand: no root path is normalised per request.
TEST_F(OddPaths, RootPathsAreNormalisedOncePerLoad) {
  startWithGoodDocument();
  const std::string item = clip();
  auto allocationsPerRequest = [&](size_t decomposedRoots) {
    std::vector<std::string> roots{rootJson(root())};
    for (size_t i = 0; i < decomposedRoots; ++i) {
      roots.push_back(rootJson(fake.temp.path() + "/Cafe\xCC\x81 " + std::to_string(i)));
    }
    fake.writeStatus(statusJson(roots));
    fake.tick();
    controller->requestBadgeIdentifierForURL(item);
    calls();
    const long before = allocationsSoFar();
    controller->requestBadgeIdentifierForURL(item);
    return allocationsSoFar() - before;
  };
  EXPECT_EQ(allocationsPerRequest(1000), allocationsPerRequest(10));
}

}  // namespace
}  // namespace quorbitz::testing
