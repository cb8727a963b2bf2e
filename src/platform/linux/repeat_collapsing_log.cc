// SPDX-License-Identifier: Apache-2.0
#include "platform/linux/repeat_collapsing_log.h"

#include <cstdint>
#include <string>

namespace quorbitz {
namespace {

constexpr std::string_view kMessageSeparator = " \u2014 ";
constexpr std::string_view kLoadReportEnd = " roots";

class RepeatCollapsingLog final : public SystemLog {
 public:
  explicit RepeatCollapsingLog(std::unique_ptr<SystemLog> inner) : inner_(std::move(inner)) {}

  void log(std::string_view line) override {
    if (line == previous_ && isFailureLine(line)) {
      ++repeats_;
      return;
    }
    if (repeats_ > 0) {
      inner_->log("quorbitzFS: log \u2014 last line repeated " + std::to_string(repeats_) +
                  " more times");
      repeats_ = 0;
    }
    inner_->log(line);
    previous_.assign(line);
  }

 private:
  std::unique_ptr<SystemLog> inner_;
  std::string previous_;
  uint64_t repeats_ = 0;
};

}  // namespace

bool isFailureLine(std::string_view line) {
  // "quorbitzFS: reload — …": the message follows the operation's name; a
  // " — " further on belongs to an argument, such as a path.
  const size_t nameEnd = line.find(' ', line.find(' ') + 1);
  if (nameEnd == std::string_view::npos ||
      line.substr(nameEnd, kMessageSeparator.size()) != kMessageSeparator) {
    return false;
  }
  // "reload — 3 roots": a count, then " roots".
  std::string_view message = line.substr(nameEnd + kMessageSeparator.size());
  if (!message.ends_with(kLoadReportEnd)) return true;
  message.remove_suffix(kLoadReportEnd.size());
  return message.empty() || message.find_first_not_of("0123456789") != std::string_view::npos;
}

std::unique_ptr<SystemLog> newRepeatCollapsingLog(std::unique_ptr<SystemLog> inner) {
  return std::make_unique<RepeatCollapsingLog>(std::move(inner));
}

}  // namespace quorbitz
