// SPDX-License-Identifier: Apache-2.0
// Keeping the loaded roots in step with status.json.
#include <algorithm>
#include <atomic>
#include <memory>
#include <new>

#include "diagnostics/trace_log.h"
#include "status/finder_sync.h"
#include "status/status_decoder.h"

namespace quorbitz {
namespace {

constexpr std::string_view kStatusFileName = "status.json";

// A worker reads and decodes the file, so the limit is about memory: a
// load holds the file's bytes, the parser's index of them and the new sets
// beside the ones in force, about twice the file's size plus the sets. A
// realistic status of 1,000,000 synced paths is 84 MB.
constexpr uint64_t kLargestStatusFile = uint64_t{128} << 20;

// Logged for an allocation failure anywhere in a load, as the decoder words
// one in its own part.
constexpr std::string_view kOutOfMemoryLine =
    "quorbitzFS: reload \u2014 decode failed: (document): too large to decode in memory";

using RootSets = CanonicalMap<CanonicalSet>;

// One entry per root, keyed by its path. Of two roots with the same path the
// first keeps its entry, as it is also the one that root location picks.
RootSets takeRootSets(std::vector<IndexedRoot>& roots, CanonicalSet IndexedRoot::*list) {
  RootSets sets;
  sets.reserve(roots.size());
  for (IndexedRoot& root : roots) {
    sets.try_emplace(root.root.path, std::move(root.*list));
    root.*list = CanonicalSet();
  }
  return sets;
}

// The distinct root paths, in byte order.
std::vector<std::string> watchedFolders(const std::vector<RootStatus>& roots) {
  CanonicalSet seen;
  std::vector<std::string> folders;
  for (const RootStatus& root : roots) {
    if (seen.insert(root.path)) folders.push_back(root.path);
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

bool sameFolders(const std::vector<std::string>& current,
                 const std::vector<std::string>& wanted) {
  CanonicalSet currentSet(current.begin(), current.end());
  if (currentSet.size() != wanted.size()) return false;
  return std::all_of(wanted.begin(), wanted.end(),
                     [&](const std::string& folder) { return currentSet.contains(folder); });
}

}  // namespace

bool FinderSync::FailedLoad::sameFile(const FileAttributes& file) const {
  return file.size == size && file.modificationDate == modified &&
         file.changeTime == changed;
}

// What one load builds, complete before any of it replaces the state in
// force, so that a failure part-way leaves the last good document intact.
struct FinderSync::LoadedRoots {
  std::vector<RootStatus> roots;
  RootSets syncedSets;
  RootSets keptSets;
  RootSets lockedSets;
  std::vector<RootFacts> rootFacts;
  std::vector<std::string> canonicalRootPaths;
  std::vector<std::string> watchedFolders;
};

std::unique_ptr<FinderSync::LoadedRoots> FinderSync::indexRoots(
    std::vector<IndexedRoot> decoded) {
  auto loaded = std::make_unique<LoadedRoots>();
  loaded->syncedSets = takeRootSets(decoded, &IndexedRoot::synced);
  loaded->keptSets = takeRootSets(decoded, &IndexedRoot::keptLocal);
  loaded->lockedSets = takeRootSets(decoded, &IndexedRoot::locked);
  std::vector<RootStatus>& roots = loaded->roots;
  roots.reserve(decoded.size());
  for (IndexedRoot& root : decoded) roots.push_back(std::move(root.root));
  decoded.clear();
  auto setOf = [](const RootSets& sets, const std::string& rootPath) {
    auto entry = sets.find(rootPath);
    return entry == sets.end() ? nullptr : &entry->second;
  };
  loaded->rootFacts.reserve(roots.size());
  loaded->canonicalRootPaths.reserve(roots.size());
  for (const RootStatus& root : roots) {
    loaded->rootFacts.push_back({setOf(loaded->syncedSets, root.path),
                                 setOf(loaded->keptSets, root.path),
                                 setOf(loaded->lockedSets, root.path),
                                 root.roles ? &*root.roles : nullptr});
    loaded->canonicalRootPaths.push_back(canonicalText(root.path));
  }
  loaded->watchedFolders = watchedFolders(roots);
  return loaded;
}

// What one load of the status file came to: the roots to put in force, or
// the line that says why not.
struct FinderSync::LoadOutcome {
  FileAttributes attributes;
  std::unique_ptr<LoadedRoots> loaded;
  std::string line;
  bool outOfMemory = false;
};

// A load under way beside the main thread. The worker fills in the outcome,
// then sets `done`; the main thread reads the outcome only after seeing
// `done`.
struct FinderSync::PendingLoad {
  LoadOutcome outcome;
  std::atomic<bool> done{false};
};

void FinderSync::reload() {
  // Nothing may reach the file manager, which would end with it: whatever
  // runs out of memory ends the load with one line.
  try {
    reloadStatusFile();
  } catch (...) {
    try {
      log(kOutOfMemoryLine);
    } catch (...) {
    }
  }
}

void FinderSync::reloadStatusFile() {
  std::optional<std::string> dir = finderDir();
  if (!dir) {
    log("quorbitzFS: reload \u2014 no group container");
    return;
  }
  std::string statusPath = std::move(*dir);
  statusPath.append(1, '/').append(kStatusFileName);

  std::string statError;
  std::optional<FileAttributes> attributes = platform.files.attributes(statusPath, &statError);
  if (!attributes) {
    log("quorbitzFS: reload \u2014 stat " + statusPath + " failed: " + statError);
    return;
  }
  if (!attributes->modificationDate) {
    log("quorbitzFS: reload \u2014 no mtime attr at " + statusPath);
    return;
  }
  // Any other date is a change: a clock set back or a file restored from
  // elsewhere can give the next version an earlier date than the last one.
  if (*attributes->modificationDate == lastLoaded) return;
  // The load under way takes effect first; a later change is seen by the
  // tick after it. Its hand-off to the main queue is only a nudge: a tick
  // that finds it done finishes it too.
  if (pendingLoad) {
    if (!pendingLoad->done.load(std::memory_order_acquire)) return;
    finishPendingLoad();
    if (*attributes->modificationDate == lastLoaded) return;
  }
  // A file that failed is not read again until it changes: reading and
  // decoding a large one anew would cost a lot on every tick.
  if (lastFailedLoad && lastFailedLoad->sameFile(*attributes)) {
    log(lastFailedLoad->line);
    return;
  }
  lastFailedLoad.reset();
  if (!loadInBackground) {
    finishLoad(loadStatusFile(platform.files, statusPath, *attributes));
    return;
  }
  // Reading and decoding a large project's status takes longer than a
  // frame: it happens beside the main thread, and only the result comes
  // back to it.
  auto pending = std::make_shared<PendingLoad>();
  pending->outcome.attributes = *attributes;
  FileSystem* files = &platform.files;
  RunLoop* runLoop = &platform.runLoop;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  runLoop->dispatchToBackground([files, runLoop, weakSelf, statusPath, pending] {
    pending->outcome = loadStatusFile(*files, statusPath, pending->outcome.attributes);
    pending->done.store(true, std::memory_order_release);
    try {
      runLoop->dispatchToMain([weakSelf] {
        if (std::shared_ptr<FinderSync> self = weakSelf.lock()) self->finishPendingLoad();
      });
    } catch (...) {
    }
  });
  pendingLoad = std::move(pending);
}

void FinderSync::finishPendingLoad() {
  if (!pendingLoad || !pendingLoad->done.load(std::memory_order_acquire)) return;
  std::shared_ptr<PendingLoad> pending = std::move(pendingLoad);
  pendingLoad.reset();
  try {
    finishLoad(std::move(pending->outcome));
  } catch (...) {
    try {
      log(kOutOfMemoryLine);
    } catch (...) {
    }
  }
}

// Runs beside the main thread: it touches nothing of the controller's.
FinderSync::LoadOutcome FinderSync::loadStatusFile(FileSystem& files, const std::string& path,
                                                   const FileAttributes& attributes) noexcept {
  LoadOutcome outcome;
  outcome.attributes = attributes;
  try {
    std::optional<std::string> bytes;
    if (attributes.size.value_or(0) <= kLargestStatusFile) {
      bytes = files.readFile(path, kStatusDecodePadding);
    }
    if (!bytes) {
      outcome.line = "quorbitzFS: reload \u2014 can't read status.json";
      return outcome;
    }
    IndexedDecodeResult decoded = decodeStatusIndexed(std::move(*bytes));
    bytes.reset();
    if (auto* error = std::get_if<DecodeError>(&decoded)) {
      outcome.line = "quorbitzFS: reload \u2014 decode failed: " + error->description;
      return outcome;
    }
    auto& decodedRoots = std::get<std::vector<IndexedRoot>>(decoded);
    outcome.line = "quorbitzFS: reload \u2014 " + std::to_string(decodedRoots.size()) + " roots";
    outcome.loaded = indexRoots(std::move(decodedRoots));
  } catch (...) {
    outcome.loaded.reset();
    outcome.outOfMemory = true;
  }
  return outcome;
}

void FinderSync::finishLoad(LoadOutcome outcome) {
  if (outcome.outOfMemory) outcome.line = kOutOfMemoryLine;
  if (!outcome.loaded) {
    failLoad(outcome.attributes, std::move(outcome.line));
    return;
  }
  LoadedRoots& loaded = *outcome.loaded;
  if (loaded.canonicalRootPaths != canonicalRootPaths) ++rootsGeneration;
  roots = std::move(loaded.roots);
  syncedSets = std::move(loaded.syncedSets);
  keptSets = std::move(loaded.keptSets);
  lockedSets = std::move(loaded.lockedSets);
  rootFacts = std::move(loaded.rootFacts);
  canonicalRootPaths = std::move(loaded.canonicalRootPaths);
  lastLoaded = *outcome.attributes.modificationDate;
  // The load has succeeded: what follows does what it can.
  try {
    log(outcome.line);
    publishWatchedFolders(loaded.watchedFolders);
  } catch (...) {
  }
  startReevaluation();
}

void FinderSync::failLoad(const FileAttributes& file, std::string line) {
  log(line);
  if (file.size && file.modificationDate && file.changeTime) {
    lastFailedLoad = FailedLoad{*file.size, *file.modificationDate, *file.changeTime,
                                std::move(line)};
  }
}

void FinderSync::publishWatchedFolders(const std::vector<std::string>& folders) {
  std::optional<std::vector<std::string>> current = platform.finder.directoryURLs();
  if (current && sameFolders(*current, folders)) return;
  trace("directoryURLs -> " + quotedPathList(folders));
  platform.finder.setDirectoryURLs(folders);
}

}  // namespace quorbitz
