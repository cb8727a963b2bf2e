// SPDX-License-Identifier: Apache-2.0
// The platform seam on Apple's frameworks, as the Finder extension runs it:
// the extension's FIFinderSyncController, the application group's container,
// NSLog, the general pasteboard, NSTimer and the main dispatch queue, AppKit
// drawing, and the project's POSIX file system.
//
// Files are read through POSIX rather than NSFileManager: status.json's
// modification date must be compared at the file system's nanosecond
// resolution, which an NSDate cannot carry, and one stat per polling tick is
// all an unchanged file may cost.
#pragma once

#include "platform/platform.h"

namespace quorbitz::finder {

// The platform of this process, made on first use (which sets the watched
// folders to none) and never destroyed: the polling timer, which nothing
// cancels, still reaches the run loop after the extension object is gone.
// Every service asks the system afresh on each use (the controller is
// fetched from FIFinderSyncController every time), so one platform serves
// every extension object the Finder creates.
Platform finderPlatform();

}  // namespace quorbitz::finder
