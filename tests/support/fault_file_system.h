// SPDX-License-Identifier: Apache-2.0
// A FileSystem that forwards every call to another one. A fault test derives
// from it and overrides the one call it wants to fail.
#pragma once

#include <memory>
#include <thread>

#include "platform/platform.h"

namespace quorbitz::testing {

class FileSystemWrapper : public FileSystem {
 public:
  using Path = const std::string&;
  explicit FileSystemWrapper(std::unique_ptr<FileSystem> target)
      : target_(std::move(target)) {}

  std::optional<FileAttributes> attributes(Path path, std::string* error) override {
    return target_->attributes(path, error);
  }
  bool isDirectory(Path path) override { return target_->isDirectory(path); }
  std::optional<std::string> readFile(Path path, size_t padding) override {
    return target_->readFile(path, padding);
  }
  bool removeFile(Path path) override { return target_->removeFile(path); }
  AppendOutcome appendToExistingFile(Path path, std::string_view bytes) override {
    return target_->appendToExistingFile(path, bytes);
  }
  AppendOutcome appendUnlessLarger(Path path, std::string_view bytes,
                                   uint64_t sizeLimit) override {
    return target_->appendUnlessLarger(path, bytes, sizeLimit);
  }
  AppendOutcome appendOrCreate(Path path, std::string_view bytes) override {
    return target_->appendOrCreate(path, bytes);
  }
  bool removeIfLarger(Path path, uint64_t limit) override {
    return target_->removeIfLarger(path, limit);
  }
  bool writeFile(Path path, std::string_view bytes) override {
    return target_->writeFile(path, bytes);
  }
  bool createDirectories(Path path) override { return target_->createDirectories(path); }

 private:
  std::unique_ptr<FileSystem> target_;
};

// Counts the files read, and remembers the thread that read the last one.
struct RecordsReads final : FileSystemWrapper {
  using FileSystemWrapper::FileSystemWrapper;
  std::optional<std::string> readFile(Path path, size_t padding) override {
    ++reads;
    reader = std::this_thread::get_id();
    return FileSystemWrapper::readFile(path, padding);
  }
  int reads = 0;
  std::thread::id reader;
};

}  // namespace quorbitz::testing
