// SPDX-License-Identifier: Apache-2.0
#include "demo_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include "event_writer.h"
#include "platform/posix/posix_file_system.h"

namespace quorbitz::host {
namespace {

namespace fs = std::filesystem;

// Relative path, and whether it is a folder.
struct Entry {
  const char* path;
  bool folder;
};

constexpr Entry kEntries[] = {
    {"Footage", true},        {"Footage/A001_clip.mov", false},
    {"Footage/A002_clip.mov", false}, {"Edit", true},
    {"Edit/cut-v3.prproj", false},    {"Masters", true},
    {"Masters/Film_v1.mov", false},   {"Review", true},
    {"Cache", true},          {"Cache/render-0001.tmp", false},
    {"budget.xlsx", false},   {"notes.txt", false},
    {".DS_Store", false},
};

constexpr const char* kSynced[] = {"Footage/A001_clip.mov", "Edit/cut-v3.prproj",
                                   "Masters/Film_v1.mov", "budget.xlsx"};

std::string jsonStrings(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + jsonLiteral(items[i]);
  return out + "]";
}

}  // namespace

DemoTree demoTreeAt(const std::string& base) {
  DemoTree tree;
  tree.base = base;
  tree.container = base + "/container";
  tree.root = base + "/Projects/Film-2026";
  tree.statusFile = tree.container + "/finder/status.json";
  tree.commandsFolder = tree.container + "/finder/commands";
  tree.badgeFolder = base + "/badges";
  return tree;
}

namespace {

std::string demoStatus(const DemoTree& tree, const std::vector<std::string>& locked) {
  std::vector<std::string> synced(std::begin(kSynced), std::end(kSynced));
  std::string json = "{\n  \"version\": 1,\n  \"roots\": [{\n"
                     "    \"path\": " + jsonLiteral(tree.root) + ",\n"
                     "    \"direction\": \"two-way\",\n"
                     "    \"label\": \"Film 2026\",\n"
                     "    \"link\": \"https://quorbitz.example/p/film-2026\",\n"
                     "    \"can_lock\": true,\n"
                     "    \"can_mint_links\": true,\n"
                     "    \"kept_local\": [\"Cache\"],\n"
                     "    \"locked\": " + jsonStrings(locked) + ",\n"
                     "    \"synced\": " + jsonStrings(synced) + ",\n"
                     "    \"roles\": {\"masters\": \"Masters\", \"review\": \"Review\"}\n"
                     "  }]\n}\n";
  return json;
}

}  // namespace

namespace {

// A folder held open, so that what is made in it is made there and nowhere
// a link renamed into its place since might lead.
class Folder {
 public:
  Folder() = default;
  explicit Folder(int fd) : fd_(fd) {}
  Folder(Folder&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Folder& operator=(Folder&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Folder() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Why a folder of the demo is no safe place for it, or nullopt. Another
// user who owns it, or may write in it, could put links in it for the demo
// to write through.
std::optional<std::string> unsafeFolder(int fd, const std::string& shownAs) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return shownAs + ": " + std::strerror(errno);
  if (info.st_uid != ::geteuid()) return shownAs + " belongs to another user";
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) && !(info.st_mode & S_ISVTX)) {
    return shownAs + " can be written by other users";
  }
  return std::nullopt;
}

// Opens the folder `name` in `parent`, making it first when missing; never
// follows a link. Refuses a folder unsafeFolder() objects to.
std::optional<std::string> openFolder(const Folder& parent, const std::string& name,
                                      const std::string& shownAs, Folder& out) {
  if (::mkdirat(parent.fd(), name.c_str(), 0755) != 0 && errno != EEXIST) {
    return "cannot make " + shownAs + ": " + std::strerror(errno);
  }
  out = Folder(::openat(parent.fd(), name.c_str(), kFolderFlags));
  if (!out.valid()) {
    return errno == ELOOP || errno == ENOTDIR ? shownAs + " is a link or not a folder"
                                              : shownAs + ": " + std::strerror(errno);
  }
  return unsafeFolder(out.fd(), shownAs);
}

// The same for a relative path of folders, one step at a time.
std::optional<std::string> openFolderPath(const Folder& parent, const std::string& relative,
                                          const std::string& shownAs, Folder& out) {
  Folder current(::fcntl(parent.fd(), F_DUPFD_CLOEXEC, 0));
  std::string reached = shownAs;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t slash = std::min(relative.find('/', start), relative.size());
    const std::string name = relative.substr(start, slash - start);
    reached += "/" + name;
    Folder next;
    if (auto refusal = openFolder(current, name, reached, next)) return refusal;
    current = std::move(next);
    start = slash + 1;
  }
  out = std::move(current);
  return std::nullopt;
}

// Writes a new file aside and renames it over `name`: whatever stood there,
// a link included, is replaced, never written through.
bool replaceFileIn(const Folder& folder, const std::string& name, std::string_view bytes) {
  const std::string aside = "." + name + "." + std::to_string(::getpid()) + ".new";
  const int fd = ::openat(folder.fd(), aside.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool done = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  done = ::close(fd) == 0 && done;
  done = done && ::renameat(folder.fd(), aside.c_str(), folder.fd(), name.c_str()) == 0;
  if (!done) ::unlinkat(folder.fd(), aside.c_str(), 0);
  return done;
}

// Every item below the open folder is a file or folder of the caller's, and
// no link: the demo writes only where nobody else could have led it.
std::optional<std::string> checkContents(const Folder& folder, const std::string& shownAs) {
  DIR* stream = ::fdopendir(::fcntl(folder.fd(), F_DUPFD_CLOEXEC, 0));
  if (!stream) return shownAs + ": " + std::strerror(errno);
  std::optional<std::string> refusal;
  while (dirent* entry = ::readdir(stream)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = shownAs + "/" + name;
    struct stat info;
    if (::fstatat(folder.fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      refusal = path + ": " + std::strerror(errno);
    } else if (S_ISLNK(info.st_mode)) {
      refusal = path + " is a link";
    } else if (info.st_uid != ::geteuid()) {
      refusal = path + " belongs to another user";
    } else if (S_ISDIR(info.st_mode)) {
      Folder inner(::openat(folder.fd(), name.c_str(), kFolderFlags));
      refusal = inner.valid() ? unsafeFolder(inner.fd(), path) : path + ": cannot open";
      if (!refusal) refusal = checkContents(inner, path);
    }
    if (refusal) break;
  }
  ::closedir(stream);
  return refusal;
}

std::optional<std::string> openBase(const std::string& base, Folder& out) {
  if (::mkdir(base.c_str(), 0755) != 0 && errno != EEXIST) {
    return "cannot make " + base + ": " + std::strerror(errno);
  }
  out = Folder(::open(base.c_str(), kFolderFlags));
  if (!out.valid()) {
    return errno == ELOOP || errno == ENOTDIR ? base + " is a link or not a folder"
                                              : base + ": " + std::strerror(errno);
  }
  if (auto refusal = unsafeFolder(out.fd(), base)) return refusal;
  return checkContents(out, base);
}

}  // namespace

std::optional<std::string> buildDemoTree(const DemoTree& tree) {
  Folder base, finder, root, badges;
  if (auto refusal = openBase(tree.base, base)) return refusal;
  const std::string rootBelowBase = tree.root.substr(tree.base.size() + 1);
  for (auto [relative, folder] : {std::pair{"container/finder", &finder},
                                  std::pair{rootBelowBase.c_str(), &root},
                                  std::pair{"badges", &badges}}) {
    // Pictures kept elsewhere (the demo run without --keep) need no folder here.
    if (folder == &badges && tree.badgeFolder != tree.base + "/badges") continue;
    if (auto refusal = openFolderPath(base, relative, tree.base, *folder)) return refusal;
  }
  for (const Entry& entry : kEntries) {
    const std::string path = entry.path;
    const size_t slash = path.find_last_of('/');
    Folder folder;
    std::optional<std::string> refusal;
    if (entry.folder) {
      refusal = openFolderPath(root, path, tree.root, folder);
    } else if (slash == std::string::npos) {
      folder = Folder(::fcntl(root.fd(), F_DUPFD_CLOEXEC, 0));
    } else {
      refusal = openFolderPath(root, path.substr(0, slash), tree.root, folder);
    }
    if (refusal) return refusal;
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (!entry.folder && !replaceFileIn(folder, name, "sample content\n")) {
      return "cannot write " + tree.root + "/" + path;
    }
  }
  if (!replaceFileIn(finder, "status.json", demoStatus(tree, {}))) {
    return "cannot write " + tree.statusFile;
  }
  return std::nullopt;
}

bool writeDemoStatus(const DemoTree& tree, const std::vector<std::string>& locked) {
  // Written aside and renamed into place, as a careful main application does,
  // so the extension never sees half a document.
  return replaceFile(tree.statusFile, demoStatus(tree, locked));
}

bool mayHoldDemo(const std::string& base) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(base, error);
  if (status.type() == fs::file_type::not_found) return true;
  if (!fs::is_directory(status)) return false;
  const DemoTree tree = demoTreeAt(base);
  bool empty = true;
  for (const fs::directory_entry& entry : fs::directory_iterator(base, error)) {
    const std::string name = entry.path().filename().string();
    if (name != "container" && name != "Projects" && name != "badges") return false;
    empty = false;
  }
  if (error) return false;
  // A folder named like ours is not enough: the demo's status file must be
  // there too.
  return empty || fs::is_regular_file(fs::symlink_status(tree.statusFile, error));
}

}  // namespace quorbitz::host
