// SPDX-License-Identifier: Apache-2.0
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorbitz {
namespace {

// Larger status files are refused rather than read: they could only come
// from a broken writer, and reading them would stall the file manager.
constexpr uint64_t kLargestReadableFile = 1ULL << 30;

std::string errorText(int error) { return std::strerror(error); }

FileTime fileTime(const struct timespec& time) { return {time.tv_sec, time.tv_nsec}; }

#if defined(__APPLE__)
FileTime modificationTimeOf(const struct stat& info) { return fileTime(info.st_mtimespec); }
FileTime changeTimeOf(const struct stat& info) { return fileTime(info.st_ctimespec); }
#elif defined(__linux__)
FileTime modificationTimeOf(const struct stat& info) { return fileTime(info.st_mtim); }
FileTime changeTimeOf(const struct stat& info) { return fileTime(info.st_ctim); }
#else
// Whole seconds where the system's name for the finer date is not known.
FileTime modificationTimeOf(const struct stat& info) { return {info.st_mtime, 0}; }
FileTime changeTimeOf(const struct stat& info) { return {info.st_ctime, 0}; }
#endif

// Closes the descriptor when the scope ends, whatever happened in it.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded.
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

int openRetrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool writeAll(int fd, std::string_view bytes) {
  const char* next = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

bool readAll(int fd, char* into, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd, into + done, size - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return false;  // shrank while being read
    done += static_cast<size_t>(got);
  }
  return true;
}

bool largerThan(const std::string& path, uint64_t sizeLimit) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && static_cast<uint64_t>(info.st_size) > sizeLimit;
}

class PosixFileSystem final : public FileSystem {
 public:
  std::optional<FileAttributes> attributes(const std::string& path,
                                           std::string* error) override {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
      if (error) *error = errorText(errno);
      return std::nullopt;
    }
    return FileAttributes{modificationTimeOf(info), static_cast<uint64_t>(info.st_size),
                          changeTimeOf(info), static_cast<uint64_t>(info.st_dev),
                          static_cast<uint64_t>(info.st_ino)};
  }

  bool isDirectory(const std::string& path) override {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<std::string> readFile(const std::string& path,
                                      size_t padding) override {
    // Non-blocking so that a FIFO put in the file's place cannot hang us.
    Descriptor fd(openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK));
    if (!fd.valid()) return std::nullopt;
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size > kLargestReadableFile) return std::nullopt;
    std::string content;
    content.reserve(size + padding);
    content.resize(size);
    if (!readAll(fd.get(), content.data(), size)) return std::nullopt;
    return content;
  }

  bool removeFile(const std::string& path) override {
    return ::unlink(path.c_str()) == 0;
  }

  AppendOutcome appendToExistingFile(const std::string& path,
                                     std::string_view bytes) override {
    return append(path, bytes, std::nullopt);
  }

  AppendOutcome appendUnlessLarger(const std::string& path, std::string_view bytes,
                                   uint64_t sizeLimit) override {
    return append(path, bytes, sizeLimit);
  }

  AppendOutcome appendOrCreate(const std::string& path, std::string_view bytes) override {
    // Another process may create or delete the file between the two opens;
    // each such turn sends us round again.
    for (int attempt = 0; attempt < 3; ++attempt) {
      int opened = openRetrying(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK);
      if (opened < 0 && errno == ENOENT) {
        // O_EXCL creates a regular file where nothing is, and does not
        // follow a symbolic link left dangling there.
        opened = openRetrying(path.c_str(),
                              O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NONBLOCK, 0644);
        if (opened < 0 && errno == EEXIST) continue;
      }
      Descriptor fd(opened);
      if (!fd.valid()) return AppendOutcome::couldNotOpen;
      struct stat info;
      if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return AppendOutcome::couldNotOpen;
      }
      bool written = writeAll(fd.get(), bytes);
      bool closed = fd.close();
      return written && closed ? AppendOutcome::appended : AppendOutcome::failedAfterOpening;
    }
    return AppendOutcome::couldNotOpen;
  }

  bool removeIfLarger(const std::string& path, uint64_t sizeLimit) override {
    Descriptor fd(openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK));
    if (!fd.valid()) {
      if (errno == ENOENT) return true;
      return !largerThan(path, sizeLimit) || ::unlink(path.c_str()) == 0;
    }
    // Under the lock, the look at what the path names and the unlink are one
    // step for every process restarting this file: a second one finds the
    // path naming the new file and leaves it alone.
    while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat held, named;
    if (::fstat(fd.get(), &held) != 0) return false;
    if (::stat(path.c_str(), &named) != 0) return errno == ENOENT;
    if (held.st_dev != named.st_dev || held.st_ino != named.st_ino) return true;
    if (!S_ISREG(held.st_mode)) return false;
    if (static_cast<uint64_t>(held.st_size) <= sizeLimit) return true;
    return ::unlink(path.c_str()) == 0;
  }

  bool writeFile(const std::string& path, std::string_view bytes) override {
    Descriptor fd(
        openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0644));
    if (!fd.valid()) return false;
    bool written = writeAll(fd.get(), bytes);
    bool closed = fd.close();
    return written && closed;
  }

  bool createDirectories(const std::string& path) override {
    if (path.empty()) return false;
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    if (errno == EEXIST) return isDirectory(path);
    if (errno != ENOENT) return false;
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return false;
    if (!createDirectories(path.substr(0, slash))) return false;
    return ::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && isDirectory(path));
  }

 private:
  AppendOutcome append(const std::string& path, std::string_view bytes,
                       std::optional<uint64_t> sizeLimit) {
    // O_APPEND: the file manager may run the extension in more than one
    // process, and a seek followed by a write would let one overwrite lines
    // the other appended in between.
    Descriptor fd(openRetrying(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK));
    // An item that cannot be opened is still judged by its size, as a
    // look-up before the open would have judged it.
    if (!fd.valid()) {
      return sizeLimit && largerThan(path, *sizeLimit) ? AppendOutcome::overLimit
                                                       : AppendOutcome::couldNotOpen;
    }
    // Earlier lines must never be overwritten: without the seek, drop the line.
    const off_t end = ::lseek(fd.get(), 0, SEEK_END);
    // A regular file ends at its size, so the trace log's append, made for
    // every badge request, needs no further call. Whatever else the open
    // reached (a FIFO, a terminal, /dev/null) fails the seek or ends at 0,
    // and only then, past the limit or without one is the item looked at.
    if (!sizeLimit || end <= 0 || static_cast<uint64_t>(end) > *sizeLimit) {
      struct stat info;
      if (::fstat(fd.get(), &info) != 0) return AppendOutcome::couldNotOpen;
      if (sizeLimit && static_cast<uint64_t>(info.st_size) > *sizeLimit) {
        return AppendOutcome::overLimit;
      }
      if (!S_ISREG(info.st_mode)) return AppendOutcome::couldNotOpen;
      if (end < 0) return AppendOutcome::failedAfterOpening;
    }
    bool written = writeAll(fd.get(), bytes);
    bool closed = fd.close();
    return written && closed ? AppendOutcome::appended
                             : AppendOutcome::failedAfterOpening;
  }
};

}  // namespace

std::unique_ptr<FileSystem> newPosixFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

bool replaceFile(const std::string& path, std::string_view bytes) {
  std::string aside = path + ".XXXXXX";
  Descriptor fd(::mkostemp(aside.data(), O_CLOEXEC));
  if (!fd.valid()) return false;
  // mkostemp makes the file private; what we write is for anyone to read.
  bool done = ::fchmod(fd.get(), 0644) == 0 && writeAll(fd.get(), bytes);
  done = fd.close() && done;
  done = done && ::rename(aside.c_str(), path.c_str()) == 0;
  if (!done) ::unlink(aside.c_str());
  return done;
}

}  // namespace quorbitz
