// SPDX-License-Identifier: Apache-2.0
#include "status_json.h"

#include <cstdio>
#include <iterator>

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

std::string statusJson(const std::vector<RootShape>& roots) {
  std::string json = R"({"version":1,"roots":[)";
  for (size_t i = 0; i < roots.size(); ++i) {
    const RootShape& root = roots[i];
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
  static constexpr std::string_view kScenes[] = {
      "Harbour",      "Cafe\u0301",    "Station",      "Se\u0301ance", "Rooftop",
      "Market",       "Mu\u0308nchen", "Bridge",       "Garden",       "Noe\u0308l",
      "Warehouse",    "Tunnel",        "Fac\u0327ade", "Library",      "Airport",
      "Zu\u0308rich", "Beach",         "Chapel",       "Sen\u0303ora", "Stadium"};
  constexpr size_t kSceneCount = std::size(kScenes);
  const size_t reel = index / 100;
  const char camera = static_cast<char>('A' + reel % 4);
  const std::string scene(kScenes[reel % kSceneCount]);
  char path[256];
  std::snprintf(
      path, sizeof path,
      "/Day %02zu/Cam %c/Reel %04zu/%s - Scene %02zu/%c%04zuC%03zu_%s_take%02zu_v1.mov",
      reel / 40 + 1, camera, reel, scene.c_str(), reel % kSceneCount + 1, camera, reel,
      index % 100, scene.c_str(), index % 7 + 1);
  return std::string(top) + path;
}

std::vector<std::string> clipPaths(std::string_view top, size_t first, size_t count) {
  std::vector<std::string> paths;
  paths.reserve(count);
  for (size_t i = first; i < first + count; ++i) paths.push_back(clipPath(top, i));
  return paths;
}

std::vector<RootShape> syncedRoots(size_t paths, size_t rootCount) {
  std::vector<RootShape> roots;
  const size_t perRoot = paths / rootCount;
  for (size_t i = 0; i < rootCount; ++i) {
    roots.push_back({showRoot(i), clipPaths("Footage", i * perRoot, perRoot), {}, {}});
  }
  return roots;
}

std::string filmRoot() { return BenchEnvironment::get().root() + "/Projects/Film-2026"; }

std::string showRoot(size_t index) {
  char name[48];
  std::snprintf(name, sizeof name, "/Projects/Show-%02zu", index);
  return BenchEnvironment::get().root() + name;
}

std::string deepItemPath() {
  return filmRoot() + "/" + clipPath("Footage", kDeepItemIndex);
}

}  // namespace quorbitz::bench
