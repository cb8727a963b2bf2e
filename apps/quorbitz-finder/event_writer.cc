#include "event_writer.h"

#include <utf8proc.h>

namespace quorbitz::host {

std::string jsonLiteral(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t codepoint;
    utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &codepoint);
    if (used <= 0) {
      out += "\xEF\xBF\xBD";
      ++bytes;
      --left;
      continue;
    }
    switch (codepoint) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (codepoint < 0x20) {
          out += "\\u00";
          out += kHex[codepoint >> 4];
          out += kHex[codepoint & 0xf];
        } else {
          out.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(used));
        }
    }
    bytes += used;
    left -= used;
  }
  out += '"';
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
