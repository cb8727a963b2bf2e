// SPDX-License-Identifier: Apache-2.0
// Paths of the items Dolphin hands to its plugins, as the controller takes
// them: the bytes of the file name on disk, which need not be UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QList>
#include <QUrl>

namespace quorbitz {

// The absolute local path of `url`; nullopt for items that are not local
// files (remote folders, the trash, search results).
std::optional<std::string> localPath(const QUrl& url);

// The local paths of `urls` in their order, leaving out the others.
std::vector<std::string> localPaths(const QList<QUrl>& urls);

}  // namespace quorbitz
