// SPDX-License-Identifier: Apache-2.0
// Keeping the loaded roots in step with status.json.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <new>

#include "diagnostics/trace_log.h"
#include "status/finder_sync.h"
#include "status/status_decoder.h"
#include "status/status_file_read.h"

namespace quorbitz {
namespace {

constexpr std::string_view kStatusFileName = "status.json";

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

FileTime now() {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
  return {seconds.count(),
          std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch - seconds).count()};
}

// Whether a rewrite made after `now` could still get the modification date
// `modified`, so that nothing a stat shows would tell it from the version
// seen now. A date without a fraction of a second may come from a file
// system that keeps whole seconds (ext4 with small inodes) or even two
// (FAT); the others keep the kernel's clock tick, a few milliseconds. Both
// with room for that clock lagging ours, and for a file server's running
// ahead.
bool mayChangeUnseen(const FileTime& modified, const FileTime& now) {
  constexpr int64_t kSecond = 1'000'000'000;
  constexpr int64_t kRoom = 50'000'000;
  const int64_t grain = modified.nanoseconds == 0 ? 2 * kSecond : 0;
  if (modified.seconds < now.seconds - 4 || modified.seconds > now.seconds + 4) return false;
  const int64_t apart =
      (now.seconds - modified.seconds) * kSecond + (now.nanoseconds - modified.nanoseconds);
  return apart < grain + kRoom && apart > -(grain + kRoom);
}

bool sameFolders(const std::vector<std::string>& current,
                 const std::vector<std::string>& wanted) {
  CanonicalSet currentSet(current.begin(), current.end());
  if (currentSet.size() != wanted.size()) return false;
  return std::all_of(wanted.begin(), wanted.end(),
                     [&](const std::string& folder) { return currentSet.contains(folder); });
}

}  // namespace

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
  bool provisionally = false;
  // Given when the file is read again only because it was looked at
  // provisionally: the content loaded then.
  std::optional<uint64_t> hashInForce;
  std::optional<uint64_t> contentHash;
  bool unchanged = false;
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

void FinderSync::reload(Look look) {
  // Nothing may reach the file manager, which would end with it: whatever
  // runs out of memory ends the load with one line.
  try {
    reloadStatusFile(look);
  } catch (...) {
    try {
      if (look == Look::tick) log(kOutOfMemoryLine);
    } catch (...) {
    }
  }
  if (!pendingLoad) endFirstLoad();
}

void FinderSync::reloadStatusFile(Look look) {
  std::optional<std::string> dir = finderDir();
  if (!dir) {
    if (look == Look::tick) log("quorbitzFS: reload \u2014 no group container");
    return;
  }
  std::string statusPath = std::move(*dir);
  statusPath.append(1, '/').append(kStatusFileName);

  std::string statError;
  std::optional<FileAttributes> attributes = platform.files.attributes(statusPath, &statError);
  if (!attributes) {
    if (look == Look::tick) {
      log("quorbitzFS: reload \u2014 stat " + statusPath + " failed: " + statError);
    }
    return;
  }
  if (!attributes->modificationDate) {
    if (look == Look::tick) log("quorbitzFS: reload \u2014 no mtime attr at " + statusPath);
    return;
  }
  // Any other device, inode, size or date is a change: a clock set back or a
  // file restored from elsewhere can give the next version an earlier date
  // than the last one, and on a file system with coarse dates a rewrite
  // renamed into place within the same tick differs only in its inode.
  auto seen = [&](const FileAttributes& file, bool provisionally) {
    return file == *attributes && !(provisionally && look == Look::tick);
  };
  if (lastLoaded && seen(lastLoaded->file, lastLoaded->provisionally)) return;
  // The load under way takes effect first; the look when it ends sees what
  // changed meanwhile. Its hand-off to the main queue is only a nudge: a
  // tick that finds it done finishes it, and that look is this one.
  if (pendingLoad) {
    if (!pendingLoad->done.load(std::memory_order_acquire)) return;
    finishPendingLoad();
    look = Look::afterLoad;
    if (lastLoaded && seen(lastLoaded->file, lastLoaded->provisionally)) return;
  }
  // A file that failed is not read again until it changes: reading and
  // decoding a large one anew would cost a lot on every tick.
  if (lastFailedLoad && seen(lastFailedLoad->file, lastFailedLoad->provisionally)) {
    if (look == Look::tick) log(lastFailedLoad->line);
    return;
  }
  lastFailedLoad.reset();
  LoadOutcome request;
  request.attributes = *attributes;
  request.provisionally = mayChangeUnseen(*attributes->modificationDate, now());
  if (lastLoaded && lastLoaded->file == *attributes) request.hashInForce = lastLoaded->contentHash;
  if (!loadInBackground) {
    finishLoad(loadStatusFile(platform.files, statusPath, std::move(request)));
    return;
  }
  // Reading and decoding a large project's status takes longer than a
  // frame: it happens beside the main thread, and only the result comes
  // back to it.
  auto pending = std::make_shared<PendingLoad>();
  const bool fileNotSeenBefore = !request.hashInForce;
  pending->outcome = std::move(request);
  FileSystem* files = &platform.files;
  RunLoop* runLoop = &platform.runLoop;
  std::weak_ptr<FinderSync> weakSelf = weak_from_this();
  runLoop->dispatchToBackground([files, runLoop, weakSelf, statusPath, pending] {
    pending->outcome = loadStatusFile(*files, statusPath, std::move(pending->outcome));
    pending->done.store(true, std::memory_order_release);
    try {
      runLoop->dispatchToMain([weakSelf] {
        // After running out of memory, the next tick tries again.
        std::shared_ptr<FinderSync> self = weakSelf.lock();
        if (self && self->finishPendingLoad()) self->reload(Look::afterLoad);
      });
    } catch (...) {
    }
  });
  pendingLoad = std::move(pending);
  // Only for a file not seen before: a provisional look again at the same
  // one usually finds it unchanged.
  if (fileNotSeenBefore) startReevaluationBesideLoad();
}

bool FinderSync::finishPendingLoad() {
  if (!pendingLoad || !pendingLoad->done.load(std::memory_order_acquire)) return false;
  std::shared_ptr<PendingLoad> pending = std::move(pendingLoad);
  pendingLoad.reset();
  bool finished = true;
  try {
    finishLoad(std::move(pending->outcome));
  } catch (...) {
    finished = false;
    try {
      log(kOutOfMemoryLine);
    } catch (...) {
    }
  }
  // In force or not, the walk that began beside it decides against what is.
  releaseHeldDecisions();
  endFirstLoad();
  return finished;
}

void FinderSync::endFirstLoad() {
  if (firstLoadOver) return;
  firstLoadOver = true;
  try {
    platform.finder.firstLoadEnded();
  } catch (...) {
  }
}

// Runs beside the main thread: it touches nothing of the controller's.
FinderSync::LoadOutcome FinderSync::loadStatusFile(FileSystem& files, const std::string& path,
                                                   LoadOutcome outcome) noexcept {
  try {
    std::variant<std::string, StatusFileRefusal> read =
        readStatusFile(files, path, outcome.attributes.size);
    std::optional<std::string> bytes;
    if (auto* content = std::get_if<std::string>(&read)) bytes = std::move(*content);
    if (!bytes) {
      outcome.line = "quorbitzFS: reload \u2014 can't read status.json";
      return outcome;
    }
    if (outcome.provisionally || outcome.hashInForce) {
      outcome.contentHash = std::hash<std::string_view>{}(*bytes);
      if (outcome.contentHash == outcome.hashInForce) {
        outcome.unchanged = true;
        return outcome;
      }
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
  if (outcome.unchanged) {
    lastLoaded = LoadedFile{outcome.attributes, outcome.provisionally, outcome.contentHash};
    return;
  }
  if (outcome.outOfMemory) outcome.line = kOutOfMemoryLine;
  if (!outcome.loaded) {
    failLoad(outcome.attributes, outcome.provisionally, std::move(outcome.line));
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
  lastLoaded = LoadedFile{outcome.attributes, outcome.provisionally, outcome.contentHash};
  // The load has succeeded: what follows does what it can.
  try {
    log(outcome.line);
    publishWatchedFolders(loaded.watchedFolders);
  } catch (...) {
  }
  if (decisionsHeld) {
    sendAnsweredBesideLoad();
  } else {
    startReevaluation();
  }
}

void FinderSync::failLoad(const FileAttributes& file, bool provisionally, std::string line) {
  log(line);
  lastFailedLoad = FailedLoad{file, provisionally, std::move(line)};
}

void FinderSync::publishWatchedFolders(const std::vector<std::string>& folders) {
  std::optional<std::vector<std::string>> current = platform.finder.directoryURLs();
  if (current && sameFolders(*current, folders)) return;
  trace("directoryURLs -> " + quotedPathList(folders));
  platform.finder.setDirectoryURLs(folders);
}

}  // namespace quorbitz
