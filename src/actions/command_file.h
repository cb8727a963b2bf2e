// SPDX-License-Identifier: Apache-2.0
// Command files: one small JSON object per menu choice, dropped into the
// shared directory's "commands" folder for the main application.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorbitz {

class FileSystem;

// String members in the order they are written ("action", "path", "role").
using Command = std::vector<std::pair<std::string, std::string>>;

inline constexpr std::string_view kCommandsFolderName = "commands";

// Compact JSON with every "/" written as "\/", as the main application's
// reader has always been fed. nullopt when a key or value is not valid UTF-8
// and so cannot be written as JSON text.
std::optional<std::string> serializeCommand(const Command& command);

// A fresh random UUID in upper case plus ".json" (41 characters).
std::string newCommandFileName();

// Writes the command as a new file in `finderDir`/commands, creating the
// folder and its parents as needed, up to the group container itself; where
// the folder holding the container is missing, nothing is created and the
// answer is "no group container". One plain write to the final name; a
// failed write removes the file again. A failure loses the command; the
// answer is then why, for the log ("the path is not valid UTF-8", "cannot
// write a file in FOLDER"), and nullopt when the command was written.
std::optional<std::string> writeCommandFile(FileSystem& files, const std::string& finderDir,
                                            const Command& command);

}  // namespace quorbitz
