// SPDX-License-Identifier: Apache-2.0
#include "status_json.h"

#include <cstdio>

#include "bench_environment.h"

namespace quorbitz::bench {
namespace {

void appendString(std::string& json, std::string_view text) {
  json += '"';
  for (char c : text) {
    if (c == '"' || c == '\\') json += '\\';
    json += c;
  }
  json += '"';
}

void appendList(std::string& json, std::string_view key,
                const std::vector<std::string>& items) {
  json += ',';
  appendString(json, key);
  json += ":[";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) json += ',';
    appendString(json, items[i]);
  }
  json += ']';
}

}  // namespace

std::string statusJson(const std::vector<RootSpec>& roots) {
  std::string json = R"({"version":1,"roots":[)";
  for (size_t i = 0; i < roots.size(); ++i) {
    const RootSpec& root = roots[i];
    if (i > 0) json += ',';
    json += R"({"path":)";
    appendString(json, root.path);
    json += R"(,"direction":"both","label":"Project","link":"https://quorbitz.test/p/)" +
            std::to_string(i) + R"(","can_lock":true)";
    appendList(json, "kept_local", root.keptLocal);
    appendList(json, "locked", root.locked);
    appendList(json, "synced", root.synced);
    json += R"(,"root_locked":false,"can_mint_links":true,)"
            R"("roles":{"masters":"Deliveries/Masters","review":"Exports/Review"}})";
  }
  json += "]}";
  return json;
}

std::string clipPath(std::string_view top, size_t index) {
  char tail[64];
  std::snprintf(tail, sizeof tail, "/Day%02zu/Cam-%c/clip_%06zu.mov", index / 400 % 100 + 1,
                static_cast<char>('A' + index / 100 % 4), index);
  return std::string(top) + tail;
}

std::vector<std::string> clipPaths(std::string_view top, size_t first, size_t count) {
  std::vector<std::string> paths;
  paths.reserve(count);
  for (size_t i = first; i < first + count; ++i) paths.push_back(clipPath(top, i));
  return paths;
}

std::string filmRoot() { return BenchEnvironment::get().root() + "/Projects/Film-2026"; }

std::string showRoot(size_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "/Projects/Show-%02zu", index);
  return BenchEnvironment::get().root() + name;
}

std::string deepItemPath() { return filmRoot() + "/" + std::string(kDeepItemRel); }

}  // namespace quorbitz::bench
