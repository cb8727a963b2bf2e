// SPDX-License-Identifier: Apache-2.0
#import "finder/ns_text.h"

namespace quorbitz::finder {

NSString* _Nullable nsString(std::string_view text) {
  return [[NSString alloc] initWithBytes:text.data()
                                  length:text.size()
                                encoding:NSUTF8StringEncoding];
}

std::optional<std::string> pathOf(NSURL* _Nullable url) {
  const char* path = url.path.UTF8String;
  if (!path) return std::nullopt;
  return std::string(path);
}

NSURL* _Nullable fileURL(std::string_view path, bool isDirectory) {
  NSString* text = nsString(path);
  return text ? [NSURL fileURLWithPath:text isDirectory:isDirectory] : nil;
}

}  // namespace quorbitz::finder
