// SPDX-License-Identifier: Apache-2.0
// Text and item locations between Foundation and the controller, which names
// items by the byte strings of their paths.
#pragma once

#import <Foundation/Foundation.h>

#include <optional>
#include <string>
#include <string_view>

namespace quorbitz::finder {

// nil when `text` is not UTF-8. Paths never are: the Finder hands them over
// as URLs, and status.json is rejected unless it is UTF-8.
NSString* _Nullable nsString(std::string_view text);

// The `path` of a file URL: absolute, without a trailing "/"; nullopt for a
// URL without one.
std::optional<std::string> pathOf(NSURL* _Nullable url);

// The file URL of an absolute path, a folder's with its trailing "/"; nil
// when the path is not UTF-8. Told what the item is, it asks the file system
// nothing: the controller runs on the main thread, which must not wait for a
// slow or absent volume.
NSURL* _Nullable fileURL(std::string_view path, bool isDirectory);

}  // namespace quorbitz::finder
