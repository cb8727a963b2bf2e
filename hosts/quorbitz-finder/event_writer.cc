// SPDX-License-Identifier: Apache-2.0
#include "event_writer.h"

#include "status/canonical_text.h"
#include "status/json_text.h"

namespace quorbitz::host {

std::string jsonLiteral(std::string_view text) {
  std::string out;
  appendJsonString(out, withInvalidUtf8Replaced(text));
  return out;
}

std::string jsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ',';
    out += jsonLiteral(items[i]);
  }
  out += ']';
  return out;
}

void EventWriter::line(std::string_view name, const std::vector<std::string>& fields) {
  std::string text(name);
  for (const auto& field : fields) {
    text += ' ';
    text += field;
  }
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), out_);
}

namespace {

std::string points(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

void EventWriter::log(std::string_view text) { line("log", {jsonLiteral(text)}); }

void EventWriter::badgeImage(std::string_view identifier, std::string_view label,
                             Size size) {
  line("setBadgeImage", {jsonLiteral(identifier), jsonLiteral(label),
                         points(size.width) + "x" + points(size.height)});
}

void EventWriter::directoryURLs(const std::vector<std::string>& sortedPaths) {
  line("setDirectoryURLs", {jsonList(sortedPaths)});
}

void EventWriter::badgeIdentifier(std::string_view identifier, std::string_view path) {
  line("setBadgeIdentifier", {jsonLiteral(identifier), jsonLiteral(path)});
}

void EventWriter::pasteboard(std::string_view text) {
  line("pasteboard", {jsonLiteral(text)});
}

}  // namespace quorbitz::host
