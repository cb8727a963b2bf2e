// SPDX-License-Identifier: Apache-2.0
// The host's standard output: one event per line, variable text as JSON
// string literals.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "host_events.h"

namespace quorbitz::host {

// A JSON string literal: UTF-8 kept, '"' '\' and control characters escaped,
// '/' not escaped, bytes that are not UTF-8 shown as U+FFFD.
std::string jsonLiteral(std::string_view text);
std::string jsonList(const std::vector<std::string>& items);

class EventWriter final : public HostEvents {
 public:
  explicit EventWriter(std::FILE* out) : out_(out) {}

  // Writes "NAME FIELD FIELD..." with fields already formatted.
  void line(std::string_view name, const std::vector<std::string>& fields);
  void flush() { std::fflush(out_); }

  void log(std::string_view line) override;
  void badgeImage(std::string_view identifier, std::string_view label,
                  Size size) override;
  void directoryURLs(const std::vector<std::string>& sortedPaths) override;
  void badgeIdentifier(std::string_view identifier, std::string_view path) override;
  void pasteboard(std::string_view text) override;

 private:
  std::FILE* out_;
};

}  // namespace quorbitz::host
