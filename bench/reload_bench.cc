// SPDX-License-Identifier: Apache-2.0
// Reloading a status.json of 100,000 (8 MiB) or 1,000,000 (over 80 MiB)
// synced paths over 10 roots; its decoding part against a raw simdjson parse
// of the same bytes.
#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <optional>

#include "bench_environment.h"
#include "bench_world.h"
#include "platform/posix/posix_file_system.h"
#include "status/status_decoder.h"

namespace quorbitz::bench {
namespace {

constexpr size_t kLargeRepetitions = 3;

// The bytes as reload reads them, with the decoder's padding.
std::string statusBytes(size_t syncedPaths) {
  std::string json = statusJson(syncedRoots(syncedPaths));
  json.reserve(json.size() + kStatusDecodePadding);
  return json;
}

void reloadSynced(benchmark::State& state, size_t syncedPaths) {
  World world(syncedRoots(syncedPaths));
  world.timeReloads(state);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(syncedPaths));
}

void decodeSynced(benchmark::State& state, size_t syncedPaths) {
  const std::string bytes = statusBytes(syncedPaths);
  std::optional<DecodeResult> decoded;
  for (auto _ : state) {
    decoded.emplace(decodeStatus(bytes));
    // Freeing the result is the next reload's business, not decoding's.
    state.PauseTiming();
    if (!std::holds_alternative<Status>(*decoded)) state.SkipWithError("not decoded");
    decoded.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(syncedPaths));
}

void rawParseFloor(benchmark::State& state, size_t syncedPaths) {
  simdjson::padded_string padded(statusBytes(syncedPaths));
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element document;
    if (parser.parse(padded).get(document)) state.SkipWithError("not parsed");
    benchmark::DoNotOptimize(document);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(syncedPaths));
}

// Each at 100k synced paths and, with fewer repetitions, at 1M.
int registerBothSizes(const std::string& prefix, void (*run)(benchmark::State&, size_t)) {
  benchmark::RegisterBenchmark((prefix + "100k_synced").c_str(), run, size_t{100'000})
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((prefix + "1M_synced").c_str(), run, size_t{1'000'000})
      ->Repetitions(kLargeRepetitions)
      ->Unit(benchmark::kMillisecond);
  return 0;
}

[[maybe_unused]] const int registered =
    registerBothSizes("reload/", reloadSynced) +
    registerBothSizes("decode/", decodeSynced) +
    registerBothSizes("floor/raw_parse_", rawParseFloor);

}  // namespace
}  // namespace quorbitz::bench
