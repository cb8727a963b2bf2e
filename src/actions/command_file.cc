// SPDX-License-Identifier: Apache-2.0
#include "actions/command_file.h"

#include <uuid/uuid.h>

#include "platform/platform.h"
#include "status/canonical_text.h"
#include "status/json_text.h"

namespace quorbitz {
std::optional<std::string> serializeCommand(const Command& command) {
  std::string json = "{";
  for (const auto& [key, value] : command) {
    if (!isValidUtf8(key) || !isValidUtf8(value)) return std::nullopt;
    if (json.size() > 1) json += ',';
    appendJsonString(json, key, SlashStyle::escaped);
    json += ':';
    appendJsonString(json, value, SlashStyle::escaped);
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

std::optional<std::string> writeCommandFile(FileSystem& files, const std::string& finderDir,
                                            const Command& command) {
  std::string folder = finderDir + "/" + std::string(kCommandsFolderName);
  // A failure here shows up as a failed write below.
  files.createDirectories(folder);
  std::optional<std::string> json = serializeCommand(command);
  if (!json) return "the path is not valid UTF-8";
  const std::string path = folder + "/" + newCommandFileName();
  if (files.writeFile(path, *json)) return std::nullopt;
  // A write cut short (a full disk) would leave an empty or truncated file
  // that the main application reads as a broken command.
  files.removeFile(path);
  return "cannot write a file in " + folder;
}

}  // namespace quorbitz
