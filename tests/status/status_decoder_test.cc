// SPDX-License-Identifier: Apache-2.0
#include "status/status_decoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace quorbitz {
namespace {

using Members = std::map<std::string, std::string>;

// A root with every required member. Each change replaces a member's raw JSON,
// drops the member when the replacement is empty, or adds a new member.
std::string rootJson(const Members& changes = {}) {
  Members members = {{"path", R"("/home/ann/Film")"},
                     {"direction", R"("both")"},
                     {"label", R"("Film")"},
                     {"link", R"("https://example.com/p/7")"},
                     {"can_lock", "true"},
                     {"kept_local", R"(["Footage"])"},
                     {"locked", "[]"},
                     {"synced", R"(["", "Footage", "Footage/A001.mov"])"}};
  for (const auto& [key, raw] : changes) members[key] = raw;
  std::string json;
  for (const auto& [key, raw] : members) {
    if (!raw.empty()) json += (json.empty() ? "{\"" : ",\"") + key + "\":" + raw;
  }
  return json + "}";
}

std::string statusJson(const std::string& roots, const std::string& version = "1") {
  return R"({"version":)" + version + R"(,"roots":[)" + roots + "]}";
}

std::string withRoot(const Members& changes) { return statusJson(rootJson(changes)); }

RootStatus expectedRoot(const std::string& label = "Film") {
  return {"/home/ann/Film", "both", label, "https://example.com/p/7", true, {"Footage"}, {},
          {"", "Footage", "Footage/A001.mov"}, {}, {}, {}};
}

template <typename Change>
Status statusWithRoot(Change change) {
  RootStatus root = expectedRoot();
  change(root);
  return Status{1, {root}};
}

// The error's description, or "(decoded)".
std::string errorOf(const DecodeResult& result) {
  const auto* error = std::get_if<DecodeError>(&result);
  return error ? error->description : "(decoded)";
}

TEST(StatusDecoder, AcceptsWellFormedDocuments) {
  const Status plain = Status{1, {expectedRoot()}};
  std::vector<std::pair<std::string, Status>> cases = {
      // unknown keys at both levels
      {R"({"writer":"app","version":1,"extra":{"a":[1]},"roots":[)" +
           rootJson({{"colour", R"({"x":null})"}}) + "]}",
       plain},
      {withRoot({{"root_locked", "null"}, {"can_mint_links", "null"}, {"roles", "null"}}),
       plain},
      // optional keys present; the first duplicate role wins
      {withRoot({{"root_locked", "false"}, {"can_mint_links", "true"},
                 {"roles", R"({"masters":"M","review":"R","masters":"X"})"}}),
       statusWithRoot([](RootStatus& root) {
         std::tie(root.rootLocked, root.canMintLinks) = std::pair(false, true);
         root.roles = Members{{"masters", "M"}, {"review", "R"}};
       })},
      {withRoot({{"kept_local", "[]"}, {"synced", R"(["a","a"])"}}),
       statusWithRoot([](RootStatus& r) { r.keptLocal.clear(); r.synced = {"a", "a"}; })},
      {withRoot({{"path", R"("\/home\/Ren\u00e9")"}}),
       statusWithRoot([](RootStatus& root) { root.path = "/home/Ren\xC3\xA9"; })},
      {statusJson(rootJson() + "," + rootJson({{"label", R"("Second")"}})),
       Status{1, {expectedRoot(), expectedRoot("Second")}}},
      {R"({"version":2,"version":"x","roots":[],"roots":7})", Status{2, {}}},
      // the first of repeated keys counts, in roles as anywhere
      {withRoot({{"roles", R"({"masters":"M","masters":null,"x":"1","x":[2]})"}}),
       statusWithRoot([](RootStatus& r) { r.roles = Members{{"masters", "M"}, {"x", "1"}}; })},
      // numbers no 64-bit type holds are JSON all the same where nobody reads them
      {R"({"version":1,"n":[18446744073709551616,1e400,-1E-400,0.5e+3],"roots":[)" +
           rootJson({{"size", "-123456789012345678901234567890"}}) + "]}",
       plain},
      {"\xEF\xBB\xBF" + statusJson(rootJson()), plain},
  };
  // Any integral spelling of the version, to both ends of its range.
  for (const auto& [text, version] : std::vector<std::pair<std::string, int64_t>>{
           {"0", 0}, {"99", 99}, {"1.00000000000000000000", 1}, {"-0.0", 0}, {"-3", -3},
           {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN}}) {
    cases.emplace_back(statusJson("", text), Status{version, {}});
  }
  for (const auto& [json, expected] : cases) {
    SCOPED_TRACE(json);
    DecodeResult result = decodeStatus(json);
    ASSERT_EQ(errorOf(result), "(decoded)");
    EXPECT_EQ(std::get<Status>(result), expected);
  }
}

TEST(StatusDecoder, RejectsDocumentNamingTheFirstFailingField) {
  const std::string kBadVersion = "version: expected an integer that fits in 64 bits";
  // What follows it in parentheses is the JSON library's wording, not ours.
  const std::string kNotJson = "(document): not valid JSON (";
  auto ourWords = [&](std::string error) {
    if (error.starts_with(kNotJson) && error.ends_with(')')) error.resize(kNotJson.size());
    return error;
  };
  const std::string kNotBool = "can_lock: expected true or false";
  std::vector<std::pair<std::string, std::string>> cases;
  // One member of the first root replaced (dropped when empty), and what is said of it.
  for (const auto& [key, raw, error] : std::vector<std::array<std::string, 3>>{
           {"direction", "", "direction: missing"}, {"label", "", "label: missing"},
           {"path", "null", "path: expected a string"}, {"can_lock", "1", kNotBool},
           {"can_lock", R"("true")", kNotBool},
           {"can_lock", "18446744073709551616", kNotBool},
           {"kept_local", "null", "kept_local: expected an array"},
           {"synced", R"(["a",null])", "synced[1]: expected a string"},
           {"synced", R"(["a",1e400])", "synced[1]: expected a string"},
           {"root_locked", R"("yes")", "root_locked: expected true, false or null"},
           {"roles", R"({"review":"R","masters":3})", "roles.masters: expected a string"},
           {"roles", R"(["masters"])", "roles: expected an object or null"}}) {
    cases.emplace_back(withRoot({{key, raw}}), "roots[0]." + error);
  }
  cases.insert(cases.end(), {
      {statusJson(rootJson() + R"(,"Film")"), "roots[1]: expected an object"},
      {R"({"roots":[]})", "version: missing"},
      {R"({"version":1})", "roots: missing"},
      {R"({"version":1,"roots":{}})", "roots: expected an array"},
      {"[]", "(document): expected an object"},
      {R"({"version":1,"roots":[)", kNotJson},
      {withRoot({{"label", R"("Film":"Film")"}}), kNotJson},
      {withRoot({{"label", "\"Fi\xFFlm\""}}), kNotJson},
      {withRoot({{"roles", R"({"masters":"M","masters":"N":1})"}}), kNotJson},
      {statusJson(std::string(5000, '[') + std::string(5000, ']')), kNotJson},
      // The first error wins: across roots, and within one root.
      {statusJson(rootJson({{"link", ""}}) + "," + rootJson({{"path", ""}})),
       "roots[0].link: missing"},
      {withRoot({{"path", ""}, {"can_lock", "1"}}), "roots[0].path: missing"},
      {R"({"roots":7,"version":"1"})", kBadVersion},
  });
  for (const char* version : {R"("1")", "null", "1.5", "1e30", "9223372036854775808",
                              "18446744073709551616", "-1e400"}) {
    cases.emplace_back(statusJson("", version), kBadVersion);
  }
  for (const char* number :
       {"01", "1.", "-", ".5", "1e", "1e+", "+1", "0x1", "1.5.2", "1e400:2", "[1e400:2]"}) {
    cases.emplace_back(R"({"version":1,"roots":[],"n":)" + std::string(number) + "}", kNotJson);
  }
  for (const auto& [json, description] : cases) {
    EXPECT_EQ(ourWords(errorOf(decodeStatus(json))), description) << json.substr(0, 120);
    // The extension's own decoding, straight into sets, says the same.
    IndexedDecodeResult indexed = decodeStatusIndexed(json);
    EXPECT_EQ(ourWords(std::get<DecodeError>(indexed).description), description);
  }
}

TEST(StatusDecoder, SpareCapacityChangesNothingButTheCopy) {
  // The spare bytes complete the second document; they must not be read.
  for (const std::string& document : {withRoot({{"roles", R"({"masters":"M"})"}}),
                                      std::string(R"({"version":1,"roots":[)")}) {
    SCOPED_TRACE(document);
    std::string tight = document;
    tight.shrink_to_fit();
    ASSERT_LT(tight.capacity(), tight.size() + kStatusDecodePadding);
    std::string padded = document + "]}" + std::string(kStatusDecodePadding, ' ');
    padded.resize(document.size());
    ASSERT_GE(padded.capacity(), padded.size() + kStatusDecodePadding);
    DecodeResult inPlace = decodeStatus(padded);
    DecodeResult copied = decodeStatus(tight);
    ASSERT_EQ(errorOf(inPlace), errorOf(copied));
    if (std::holds_alternative<Status>(copied)) {
      EXPECT_EQ(std::get<Status>(inPlace), std::get<Status>(copied));
    }
  }
}

}  // namespace
}  // namespace quorbitz
