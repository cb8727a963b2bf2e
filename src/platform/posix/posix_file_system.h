// SPDX-License-Identifier: Apache-2.0
// The file system through POSIX calls; shared by the Linux and macOS bindings.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace quorbitz {

std::unique_ptr<FileSystem> newPosixFileSystem();

}  // namespace quorbitz
