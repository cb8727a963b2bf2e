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

namespace {

// The folder that `path` lies in; "/" for an item at the top.
std::string parentOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> writeCommandFile(FileSystem& files, const std::string& finderDir,
                                            const Command& command) {
  // The folder that holds the group containers is the system's (on Linux the
  // user's data folder): where it is missing there is no container, and a
  // menu choice must not make one up, nor the home folder above it.
  const std::string container = parentOf(finderDir);
  const std::string holder = container == "/" ? container : parentOf(container);
  if (holder.empty() || !files.isDirectory(holder)) return "no group container";
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
