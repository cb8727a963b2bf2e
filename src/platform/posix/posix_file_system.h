// SPDX-License-Identifier: Apache-2.0
// The file system through POSIX calls; shared by the Linux and macOS bindings.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quorbitz {

std::unique_ptr<FileSystem> newPosixFileSystem();

// Writes `bytes` to a new file of its own beside `path` (created exclusively,
// never through a link) and renames it onto `path`: whatever stood there, a
// symbolic link included, is replaced and never written through, so files
// for other programs can go into folders that other users can write to.
// False, leaving nothing behind, when any step fails.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace quorbitz
