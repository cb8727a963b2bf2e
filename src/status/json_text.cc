// SPDX-License-Identifier: Apache-2.0
#include "status/json_text.h"

namespace quorbitz {

void appendJsonString(std::string& out, std::string_view text, SlashStyle slashes) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '/': out += slashes == SlashStyle::escaped ? "\\/" : "/"; break;
      default: {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xf];
        } else {
          out += c;
        }
      }
    }
  }
  out += '"';
}

}  // namespace quorbitz
