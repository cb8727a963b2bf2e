#include "actions/command_file.h"

#include <uuid/uuid.h>

#include "platform/platform.h"
#include "status/canonical_text.h"

namespace quorbitz {
namespace {

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '/': out += "\\/"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
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

}  // namespace

std::optional<std::string> serializeCommand(const Command& command) {
  std::string json = "{";
  for (const auto& [key, value] : command) {
    if (!isValidUtf8(key) || !isValidUtf8(value)) return std::nullopt;
    if (json.size() > 1) json += ',';
    appendJsonString(json, key);
    json += ':';
    appendJsonString(json, value);
  }
  json += '}';
  return json;
}

std::string newCommandFileName() {
  uuid_t uuid;
  uuid_generate_random(uuid);
  char text[37];
  uuid_unparse_upper(uuid, text);
  return std::string(text) + ".json";
}

void writeCommandFile(FileSystem& files, const std::string& finderDir,
                      const Command& command) {
  std::string folder = finderDir + "/" + std::string(kCommandsFolderName);
  // A failure here shows up as a failed write below, which is silent too.
  files.createDirectories(folder);
  std::optional<std::string> json = serializeCommand(command);
  if (!json) return;
  files.writeFile(folder + "/" + newCommandFileName(), *json);
}

}  // namespace quorbitz
