// SPDX-License-Identifier: Apache-2.0
// Reloading a status.json of 100,000 synced paths over 10 roots; its
// decoding part against a raw simdjson parse of the same bytes.
#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <optional>

#include "bench_environment.h"
#include "bench_world.h"
#include "platform/posix/posix_file_system.h"
#include "status/status_decoder.h"

namespace quorbitz::bench {
namespace {

constexpr size_t kRootCount = 10;
constexpr size_t kSyncedPaths = 100'000;

std::vector<RootSpec> syncedRoots() {
  std::vector<RootSpec> roots;
  constexpr size_t kPerRoot = kSyncedPaths / kRootCount;
  for (size_t i = 0; i < kRootCount; ++i) {
    roots.push_back({showRoot(i), clipPaths("Footage", i * kPerRoot, kPerRoot), {}, {}});
  }
  return roots;
}

// The bytes as reload reads them, with the decoder's padding.
const std::string& statusBytes() {
  static const std::string bytes = [] {
    std::string json = statusJson(syncedRoots());
    json.reserve(json.size() + kStatusDecodePadding);
    return json;
  }();
  return bytes;
}

void reloadSynced(benchmark::State& state) {
  World world(syncedRoots());
  world.timeReloads(state);
  state.SetItemsProcessed(state.iterations() * kSyncedPaths);
}
BENCHMARK(reloadSynced)->Name("reload/100k_synced")->Unit(benchmark::kMillisecond);

void decodeSynced(benchmark::State& state) {
  const std::string& bytes = statusBytes();
  std::optional<DecodeResult> decoded;
  for (auto _ : state) {
    decoded.emplace(decodeStatus(bytes));
    // Freeing the result is the next reload's business, not decoding's.
    state.PauseTiming();
    if (!std::holds_alternative<Status>(*decoded)) state.SkipWithError("not decoded");
    decoded.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kSyncedPaths);
}
BENCHMARK(decodeSynced)->Name("decode/100k_synced")->Unit(benchmark::kMillisecond);

void rawParseFloor(benchmark::State& state) {
  const std::string& bytes = statusBytes();
  simdjson::padded_string padded(bytes);
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element document;
    if (parser.parse(padded).get(document)) state.SkipWithError("not parsed");
    benchmark::DoNotOptimize(document);
  }
  state.SetItemsProcessed(state.iterations() * kSyncedPaths);
}
BENCHMARK(rawParseFloor)->Name("floor/raw_parse_100k_synced")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorbitz::bench
