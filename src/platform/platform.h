// SPDX-License-Identifier: Apache-2.0
// The seam between the extension's logic and the system it runs in.
//
// Everything the controller needs from the file manager, the drawing system,
// the pasteboard, the system log, the run loop, the group container and the
// file system is reached through the abstract classes below. Nothing above
// this header includes a toolkit header; a binding for another system
// replaces the implementations (src/platform/linux/ on Linux) and nothing else.
//
// Threading: every method is called on the run loop's thread, one call at a
// time. No implementation may call back into the controller synchronously
// from inside one of these methods, except RunLoop, whose blocks run later.
//
// Items are named by their absolute paths (a file URL's `path`: no scheme, no
// percent escapes, no trailing "/"), passed as byte strings exactly as the
// file manager delivered them.
#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorbitz {

// ---------------------------------------------------------------------------
// File manager: the extension's controller object in the file manager.

class Image;
using ImageRef = std::shared_ptr<const Image>;

class FinderController {
 public:
  virtual ~FinderController() = default;

  // The folders watched for the extension now, or nullopt when none were set.
  virtual std::optional<std::vector<std::string>> directoryURLs() = 0;
  // From now on badge requests and menus come for items inside exactly these
  // folders.
  virtual void setDirectoryURLs(const std::vector<std::string>& paths) = 0;
  // Makes `identifier` assignable; the file manager keeps `image`.
  virtual void setBadgeImage(const ImageRef& image, std::string_view label,
                             std::string_view identifier) = 0;
  // The item shows that badge until another identifier is assigned to it.
  // `isFolder` is what the controller found the item to be, so that a binding
  // that names items by URL makes a folder's without asking the file system.
  virtual void setBadgeIdentifier(std::string_view identifier, std::string_view itemPath,
                                  bool isFolder) = 0;
  // The item's badge was dropped without another being assigned: a file
  // manager that keeps a badge or an emblem until told otherwise (the Finder
  // among them) takes it off the item, or asks again about it.
  virtual void badgeWithdrawn(std::string_view /*itemPath*/, bool /*isFolder*/) {}
  // Start-up's first look at the status file is over, loaded or not: items
  // are answered from what it left in force. Called once. A file manager
  // that asked about items while that load ran beside it asks about them
  // again; the Finder, whose first load ends before it asks, ignores it.
  virtual void firstLoadEnded() {}
  // The items the file manager shows in sight now, which a re-evaluation
  // looks at first so that what the user sees changes first; none where it
  // cannot say (the Finder asks again for what it shows).
  virtual std::vector<std::string> itemPathsInSight() { return {}; }
  // The selected items in order; nullopt or empty when nothing is selected.
  virtual std::optional<std::vector<std::string>> selectedItemURLs() = 0;
  // The item or folder a menu was opened on, if any.
  virtual std::optional<std::string> targetedURL() = 0;
};

// ---------------------------------------------------------------------------
// Group container: the directory shared with the main application.

class GroupContainers {
 public:
  virtual ~GroupContainers() = default;
  // The container's absolute path, or nullopt when the system gives none.
  // Creates nothing.
  virtual std::optional<std::string> containerPath(
      std::string_view groupIdentifier) = 0;
  // The same written over `path`, false when there is none. Asked for on
  // every badge request (the trace log lies in the container): a binding
  // that can build the path in the caller's buffer spares an allocation.
  virtual bool containerPathInto(std::string& path, std::string_view groupIdentifier) {
    std::optional<std::string> found = containerPath(groupIdentifier);
    if (found) path.assign(*found);
    return found.has_value();
  }
};

// ---------------------------------------------------------------------------
// File system. Every call opens, works and closes within itself; no handle
// survives a call. Failures are reported as results, never thrown.

// A file date at the file system's full (nanosecond) resolution.
struct FileTime {
  int64_t seconds = 0;
  int64_t nanoseconds = 0;
  auto operator<=>(const FileTime&) const = default;
  // Earlier than every real file date.
  static constexpr FileTime distantPast() {
    return {std::numeric_limits<int64_t>::min(), 0};
  }
};

enum class AppendOutcome { appended, couldNotOpen, failedAfterOpening, overLimit };

struct FileAttributes {
  std::optional<FileTime> modificationDate;
  std::optional<uint64_t> size;
  // When the item's content or attributes last changed by any means; a
  // writer cannot set it back, unlike the modification date.
  std::optional<FileTime> changeTime;
  // Which file it is: a file renamed into the item's place has another.
  std::optional<uint64_t> device;
  std::optional<uint64_t> inode;
  bool operator==(const FileAttributes&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Attributes of the item, following symbolic links. On failure: nullopt,
  // and `error` (when given) receives a human-readable description.
  virtual std::optional<FileAttributes> attributes(const std::string& path,
                                                   std::string* error) = 0;
  // True only for an existing directory, or a symbolic link to one.
  virtual bool isDirectory(const std::string& path) = 0;
  // The whole content of a regular file, with at least `padding` spare bytes
  // of capacity after its end (for parsers that read past the end). Never
  // blocks on a FIFO or device; nullopt when the item is not a readable
  // regular file.
  virtual std::optional<std::string> readFile(const std::string& path,
                                              size_t padding) = 0;
  virtual bool removeFile(const std::string& path) = 0;
  // Opens an existing regular file, moves to its end, writes `bytes` in one
  // write and closes it. Creates nothing: couldNotOpen when the file does not
  // exist or cannot be opened; failedAfterOpening when the seek, the write or
  // the close failed (earlier content is never overwritten).
  virtual AppendOutcome appendToExistingFile(const std::string& path,
                                             std::string_view bytes) = 0;
  // The same, except that an item holding more than `sizeLimit` bytes gets
  // nothing written and answers overLimit. A binding that can read the size
  // from the file it opens saves the separate look-up done here.
  virtual AppendOutcome appendUnlessLarger(const std::string& path,
                                           std::string_view bytes, uint64_t sizeLimit) {
    std::optional<FileAttributes> found = attributes(path, nullptr);
    if (found && found->size && *found->size > sizeLimit) return AppendOutcome::overLimit;
    return appendToExistingFile(path, bytes);
  }
  // Appends `bytes` in one write to an existing regular file, or creates a
  // new regular file holding them where nothing is at `path`. Never
  // truncates and never writes into anything but a regular file; safe when
  // another process appends to or creates the same file at the same time.
  virtual AppendOutcome appendOrCreate(const std::string& path, std::string_view bytes) {
    AppendOutcome outcome = appendToExistingFile(path, bytes);
    if (outcome != AppendOutcome::couldNotOpen || attributes(path, nullptr)) return outcome;
    return writeFile(path, bytes) ? AppendOutcome::appended : AppendOutcome::couldNotOpen;
  }
  // Deletes the regular file at `path` when it holds more than `sizeLimit`
  // bytes, and never empties one it cannot delete. Of processes that find the
  // same file too large at once, one deletes it and the others leave the new
  // file that may already stand in its place. True when `path` no longer
  // names a file larger than the limit.
  virtual bool removeIfLarger(const std::string& path, uint64_t sizeLimit) {
    std::optional<FileAttributes> found = attributes(path, nullptr);
    if (!found || !found->size || *found->size <= sizeLimit) return true;
    return removeFile(path);
  }
  // Creates the file or replaces its content: one plain write, no temporary
  // file, no rename.
  virtual bool writeFile(const std::string& path, std::string_view bytes) = 0;
  // Creates the directory and any missing parents; an existing directory is
  // success.
  virtual bool createDirectories(const std::string& path) = 0;
};

// ---------------------------------------------------------------------------
// System log: one line per call, in the system's own log.

class SystemLog {
 public:
  virtual ~SystemLog() = default;
  virtual void log(std::string_view line) = 0;
};

// ---------------------------------------------------------------------------
// General pasteboard.

class Pasteboard {
 public:
  virtual ~Pasteboard() = default;
  virtual void clearContents() = 0;
  // Plain text. False when the pasteboard refused it.
  virtual bool setString(std::string_view text) = 0;
};

// ---------------------------------------------------------------------------
// Run loop of the main thread and its main queue.

class RunLoop {
 public:
  virtual ~RunLoop() = default;
  // Calls `block` every `interval` on the run loop's thread, the first time
  // one interval from now, for the life of the process. There is no way to
  // cancel it: the block must guard itself against outliving its owner.
  virtual void scheduleRepeatingTimer(std::chrono::milliseconds interval,
                                      std::function<void()> block) = 0;
  // Runs `work` later on the main thread, never inside this call. May be
  // called from any thread.
  virtual void dispatchToMain(std::function<void()> work) = 0;
  // Runs `work` on a thread beside the main thread, later. The work touches
  // nothing the main thread owns and hands its result back with
  // dispatchToMain. A binding without such a thread runs it later on the
  // main thread, as this default does.
  virtual void dispatchToBackground(std::function<void()> work) {
    dispatchToMain(std::move(work));
  }
};

// ---------------------------------------------------------------------------
// Drawing. Lengths are points; the origin is the canvas's lower-left corner.

struct Point {
  double x = 0;
  double y = 0;
};
struct Size {
  double width = 0;
  double height = 0;
};
struct Rect {
  Point origin;
  Size size;
};

enum class SystemColor { green, blue, orange, red, yellow, white };
enum class FontWeight { regular, bold };
// Values as the drawing system numbers them.
enum class CompositingOperation { copy = 1, sourceOver = 2 };

struct SymbolConfiguration {
  std::vector<SystemColor> paletteColors;
  double pointSize = 0;
  FontWeight weight = FontWeight::regular;
};

class Image {
 public:
  virtual ~Image() = default;
  virtual Size size() const = 0;
  // The system symbol this image shows, or "" for any other image.
  virtual std::string symbolName() const { return {}; }
};

// Drawing into a new image; finish() ends it and yields the image.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void fillOval(const Rect& bounds, SystemColor color) = 0;
  // Draws all of `image` scaled into `destination`.
  virtual void drawImage(const Image& image, const Rect& destination,
                         CompositingOperation operation, double fraction) = 0;
  virtual ImageRef finish() = 0;
};

class Drawing {
 public:
  virtual ~Drawing() = default;
  // A transparent image of `size` to draw into.
  virtual std::unique_ptr<Canvas> beginImage(Size size) = 0;
  // The named system symbol, or nullptr when the system has none.
  virtual ImageRef systemSymbol(
      std::string_view name,
      std::optional<std::string_view> accessibilityDescription) = 0;
  // A copy of `symbol` drawn with `configuration`, or nullptr when the
  // system cannot make one (an older system, or not a symbol).
  virtual ImageRef configuredSymbol(
      const Image& symbol, const SymbolConfiguration& configuration) = 0;
  // A new image with nothing in it.
  virtual ImageRef emptyImage() = 0;
};

// ---------------------------------------------------------------------------

// Everything the controller reaches the system through. The referenced
// objects outlive the controller.
struct Platform {
  FinderController& finder;
  GroupContainers& containers;
  FileSystem& files;
  SystemLog& systemLog;
  Pasteboard& pasteboard;
  RunLoop& runLoop;
  Drawing& drawing;
};

}  // namespace quorbitz
