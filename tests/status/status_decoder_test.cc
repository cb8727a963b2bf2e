#include "status/status_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace quorbitz {
namespace {

using Members = std::vector<std::pair<std::string, std::string>>;

// A root with every required member. Each change replaces a member's raw JSON,
// drops the member when the replacement is empty, or appends a new member.
std::string rootJson(const Members& changes = {}) {
  Members members = {{"path", R"("/home/ann/Film")"},
                     {"direction", R"("both")"},
                     {"label", R"("Film")"},
                     {"link", R"("https://example.com/p/7")"},
                     {"can_lock", "true"},
                     {"kept_local", R"(["Footage"])"},
                     {"locked", "[]"},
                     {"synced", R"(["", "Footage", "Footage/A001.mov"])"}};
  for (const auto& [key, raw] : changes) {
    auto it = std::find_if(members.begin(), members.end(),
                           [&](const auto& member) { return member.first == key; });
    if (it == members.end()) {
      members.emplace_back(key, raw);
    } else {
      it->second = raw;
    }
  }
  std::string json = "{";
  for (const auto& [key, raw] : members) {
    if (raw.empty()) continue;
    if (json.size() > 1) json += ",";
    json += "\"" + key + "\":" + raw;
  }
  return json + "}";
}

std::string statusJson(const std::string& roots, const std::string& version = "1") {
  return R"({"version":)" + version + R"(,"roots":[)" + roots + "]}";
}

RootStatus expectedRoot() {
  RootStatus root;
  root.path = "/home/ann/Film";
  root.direction = "both";
  root.label = "Film";
  root.link = "https://example.com/p/7";
  root.canLock = true;
  root.keptLocal = {"Footage"};
  root.synced = {"", "Footage", "Footage/A001.mov"};
  return root;
}

template <typename Change>
Status statusWithRoot(Change change) {
  RootStatus root = expectedRoot();
  change(root);
  return Status{1, {root}};
}

Status versionOnly(int64_t version) { return Status{version, {}}; }

struct ValidCase {
  std::string name;
  std::string json;
  Status expected;
};

TEST(StatusDecoder, AcceptsWellFormedDocuments) {
  const Status plain = Status{1, {expectedRoot()}};
  const std::vector<ValidCase> cases = {
      {"unknown keys at both levels",
       R"({"writer":"app","version":1,"extra":{"a":[1]},"roots":[)" +
           rootJson({{"colour", R"({"x":null})"}}) + "]}",
       plain},
      {"optional keys null",
       statusJson(rootJson(
           {{"root_locked", "null"}, {"can_mint_links", "null"}, {"roles", "null"}})),
       plain},
      {"optional keys present, first duplicate role wins",
       statusJson(rootJson({{"root_locked", "false"},
                            {"can_mint_links", "true"},
                            {"roles", R"({"masters":"M","review":"R","masters":"X"})"}})),
       statusWithRoot([](RootStatus& root) {
         root.rootLocked = false;
         root.canMintLinks = true;
         root.roles =
             std::map<std::string, std::string>{{"masters", "M"}, {"review", "R"}};
       })},
      {"empty lists and repeated entries",
       statusJson(rootJson({{"kept_local", "[]"}, {"synced", R"(["a","a"])"}})),
       statusWithRoot([](RootStatus& root) {
         root.keptLocal.clear();
         root.synced = {"a", "a"};
       })},
      {"escapes decoded", statusJson(rootJson({{"path", R"("\/home\/Ren\u00e9")"}})),
       statusWithRoot([](RootStatus& root) { root.path = "/home/Ren\xC3\xA9"; })},
      {"roots in document order",
       statusJson(rootJson() + "," + rootJson({{"label", R"("Second")"}})),
       Status{1,
              {expectedRoot(),
               [] {
                 RootStatus second = expectedRoot();
                 second.label = "Second";
                 return second;
               }()}}},
      {"first duplicate member wins",
       R"({"version":2,"version":"x","roots":[],"roots":7})", versionOnly(2)},
      {"byte-order mark", "\xEF\xBB\xBF" + statusJson(rootJson()), plain},
      {"version 0", statusJson("", "0"), versionOnly(0)},
      {"version 99", statusJson("", "99"), versionOnly(99)},
      {"version 1.0", statusJson("", "1.0"), versionOnly(1)},
      {"version -0.0", statusJson("", "-0.0"), versionOnly(0)},
      {"version -3", statusJson("", "-3"), versionOnly(-3)},
      {"version max", statusJson("", "9223372036854775807"),
       versionOnly(std::numeric_limits<int64_t>::max())},
      {"version min", statusJson("", "-9223372036854775808"),
       versionOnly(std::numeric_limits<int64_t>::min())},
  };
  for (const ValidCase& test : cases) {
    SCOPED_TRACE(test.name);
    DecodeResult result = decodeStatus(test.json);
    if (const auto* error = std::get_if<DecodeError>(&result)) {
      ADD_FAILURE() << error->description;
      continue;
    }
    EXPECT_EQ(std::get<Status>(result), test.expected);
  }
}

struct InvalidCase {
  std::string json;
  std::string description;
};

TEST(StatusDecoder, RejectsDocumentNamingTheFirstFailingField) {
  const std::string kVersionExpected =
      "version: expected an integer that fits in 64 bits";
  const std::vector<InvalidCase> cases = {
      {statusJson(rootJson({{"direction", ""}})), "roots[0].direction: missing"},
      {statusJson(rootJson({{"label", ""}})), "roots[0].label: missing"},
      {statusJson(rootJson({{"path", "null"}})),
       "roots[0].path: expected a string"},
      {statusJson(rootJson({{"can_lock", "1"}})),
       "roots[0].can_lock: expected true or false"},
      {statusJson(rootJson({{"can_lock", R"("true")"}})),
       "roots[0].can_lock: expected true or false"},
      {statusJson(rootJson({{"kept_local", "null"}})),
       "roots[0].kept_local: expected an array"},
      {statusJson(rootJson({{"synced", R"(["a",null])"}})),
       "roots[0].synced[1]: expected a string"},
      {statusJson(rootJson({{"root_locked", R"("yes")"}})),
       "roots[0].root_locked: expected true, false or null"},
      {statusJson(rootJson({{"roles", R"({"review":"R","masters":3})"}})),
       "roots[0].roles.masters: expected a string"},
      {statusJson(rootJson({{"roles", R"(["masters"])"}})),
       "roots[0].roles: expected an object or null"},
      {statusJson(rootJson() + R"(,"Film")"),
       "roots[1]: expected an object"},
      {statusJson("", R"("1")"), kVersionExpected + ""},
      {statusJson("", "null"), kVersionExpected + ""},
      {statusJson("", "1.5"), kVersionExpected + ""},
      {statusJson("", "1e30"), kVersionExpected + ""},
      {statusJson("", "9223372036854775808"),
       kVersionExpected + ""},
      {R"({"roots":[]})", "version: missing"},
      {R"({"version":1})", "roots: missing"},
      {R"({"version":1,"roots":{}})", "roots: expected an array"},
      {"[]", "(document): expected an object"},
      {R"({"version":1,"roots":[)",
       "(document): not valid JSON (The JSON document has an improper structure: "
       "missing or superfluous commas, braces, missing keys, etc.)"},
      {statusJson(rootJson({{"label", "\"Fi\xFFlm\""}})),
       "(document): not valid JSON (The input is not valid UTF-8)"},
      {statusJson(std::string(5000, '[') + std::string(5000, ']')),
       "(document): not valid JSON (The JSON document was too deep (too many nested "
       "objects and arrays))"},
      // The first error wins: across roots, and within one root.
      {statusJson(rootJson({{"link", ""}}) + "," + rootJson({{"path", ""}})),
       "roots[0].link: missing"},
      {statusJson(rootJson({{"path", ""}, {"can_lock", "1"}})), "roots[0].path: missing"},
      {R"({"roots":7,"version":"1"})", kVersionExpected + ""},
  };
  for (const InvalidCase& test : cases) {
    SCOPED_TRACE(test.json.substr(0, 120));
    DecodeResult result = decodeStatus(test.json);
    const auto* error = std::get_if<DecodeError>(&result);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->description, test.description);
  }
}

TEST(StatusDecoder, SpareCapacityChangesNothingButTheCopy) {
  const std::vector<std::string> documents = {
      statusJson(rootJson({{"roles", R"({"masters":"M"})"}})),
      // The spare bytes below complete this document; they must not be read.
      R"({"version":1,"roots":[)",
  };
  for (const std::string& document : documents) {
    SCOPED_TRACE(document);
    std::string tight = document;
    tight.shrink_to_fit();
    ASSERT_LT(tight.capacity(), tight.size() + kStatusDecodePadding);
    std::string padded = document + "]}" + std::string(kStatusDecodePadding, ' ');
    padded.resize(document.size());
    ASSERT_GE(padded.capacity(), padded.size() + kStatusDecodePadding);
    DecodeResult inPlace = decodeStatus(padded);
    DecodeResult copied = decodeStatus(tight);
    ASSERT_EQ(inPlace.index(), copied.index());
    if (const auto* status = std::get_if<Status>(&inPlace)) {
      EXPECT_EQ(*status, std::get<Status>(copied));
    } else {
      EXPECT_EQ(std::get<DecodeError>(inPlace).description,
                std::get<DecodeError>(copied).description);
    }
  }
}

}  // namespace
}  // namespace quorbitz
