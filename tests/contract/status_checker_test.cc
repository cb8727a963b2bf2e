// SPDX-License-Identifier: Apache-2.0
#include "status/status_checker.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "status/status_decoder.h"
#include "support/fake_platform.h"

namespace quorbitz::testing {
namespace {

constexpr char kEmptyLists[] = R"("kept_local":[],"locked":[],"synced":[])";

// A root of status.json at `path` with the three `lists`; `more` is appended
// inside the object.
std::string root(const std::string& path, const std::string& lists = kEmptyLists,
                 const std::string& more = "") {
  return R"({"path":")" + path + R"(","direction":"up","label":"L","link":"l","can_lock":true,)" +
         lists + more + "}";
}

// Each finding as its JSON path, then the part of its message that matters.
using Expected = std::vector<std::pair<std::string, std::string>>;

TEST(StatusChecker, NamesEachLikelyMistakeByItsJsonPath) {
  TempDir temp;
  temp.makeFolder("Film/Masters");
  const std::string film = temp.path() + "/Film", decomposed = temp.path() + "/Cafe\xCC\x81",
                    composed = temp.path() + "/Caf\xC3\xA9";
  const std::vector<std::pair<std::string, Expected>> cases = {
      {statusJson({root(film, R"("kept_local":[],"locked":[],"synced":["","a"])",
                       R"(,"roles":{"masters":"Masters"})")}), {}},
      {statusJson({root(film + "/")}), {{"roots[0].path", "ends in \"/\""}}},
      {statusJson({root("Film")}), {{"roots[0].path", "is not absolute"}}},
      {statusJson({root("")}), {{"roots[0].path", "every item on this machine"}}},
      {statusJson({root(film, R"("kept_local":["/Cache",")" + film +
                                  R"(/Keep"],"locked":["./a","a/"],)"
                                  R"("synced":["a/../b","a//b","a/./b"])")}),
       {{"roots[0].kept_local[0]", "absolute; entries are relative to the root; write \"Cache\""},
        {"roots[0].kept_local[1]", "write \"Keep\""},
        {"roots[0].locked[0]", "starts with \"./\""},
        {"roots[0].locked[1]", "ends in \"/\""},
        {"roots[0].synced[0]", "\"..\" component"},
        {"roots[0].synced[1]", "\"//\""},
        {"roots[0].synced[2]", "\".\" component"}}},
      {statusJson({root(film, R"("kept_local":[""],"locked":[""],"synced":[])")}),
       {{"roots[0].kept_local[0]", "root itself"}, {"roots[0].locked[0]", "root_locked"}}},
      {statusJson({root(film, kEmptyLists, R"(,"roles":{"masters":"Nope","review":""})")}),
       {{"roots[0].roles.masters", "\"Nope\" names no folder under " + film},
        {"roots[0].roles.review", "root itself"}}},
      // Folders of a root that is not on this machine cannot be checked.
      {statusJson({root("/nowhere/quorbitz", kEmptyLists, R"(,"roles":{"masters":"Nope"})")}), {}},
      {statusJson({root(film), root(film + "/Masters"), root(film), root(temp.path() + "/Fil")}),
       {{"roots[1].path", "lies inside roots[0]"}, {"roots[2].path", "same folder as roots[0]"}}},
      {statusJson({root(composed), root(decomposed)}),
       {{"roots[1].path", "same folder as roots[0]"}}},
      {statusJson({root(film, kEmptyLists,
                        R"(,"can_lok":true,"canMintLinks":true,"label":"again",)"
                        R"("roles":{"master":"Masters","owner":"Masters"})")})
           .replace(0, 1, R"({"writer":"sync 2.1",)"),
       {{"writer", "unknown key, ignored"},
        {"roots[0].can_lok", "did you mean \"can_lock\"?"},
        {"roots[0].canMintLinks", "did you mean \"can_mint_links\"?"},
        {"roots[0].label", "appears more than once; the first one is read"},
        {"roots[0].roles.master", "did you mean \"masters\"?"},
        {"roots[0].roles.owner", "reads \"masters\" and \"review\""}}},
      {R"({"version":2,"roots":[]})", {{"version", "2 is not 1"}}},
  };
  auto files = newPosixFileSystem();
  for (const auto& [json, expected] : cases) {
    SCOPED_TRACE(json);
    DecodeResult decoded = decodeStatus(json);
    ASSERT_TRUE(std::holds_alternative<Status>(decoded));
    std::vector<StatusFinding> findings = checkStatus(json, std::get<Status>(decoded), *files);
    ASSERT_EQ(findings.size(), expected.size());
    for (size_t i = 0; i < findings.size(); ++i) {
      EXPECT_EQ(findings[i].jsonPath, expected[i].first);
      EXPECT_NE(findings[i].message.find(expected[i].second), std::string::npos)
          << findings[i].message;
    }
  }
}

}  // namespace
}  // namespace quorbitz::testing
