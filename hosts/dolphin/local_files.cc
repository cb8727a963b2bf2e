// SPDX-License-Identifier: Apache-2.0
#include "dolphin/local_files.h"

#include <QFile>

namespace quorbitz {

std::optional<std::string> localPath(const QUrl& url) {
  if (!url.isLocalFile()) return std::nullopt;
  // QUrl keeps a trailing slash that the controller's item paths never have.
  const QUrl clean = url.adjusted(QUrl::StripTrailingSlash);
  std::string path = QFile::encodeName(clean.toLocalFile()).toStdString();
  if (path.empty() || path.front() != '/') return std::nullopt;
  return path;
}

std::vector<std::string> localPaths(const QList<QUrl>& urls) {
  std::vector<std::string> paths;
  for (const QUrl& url : urls) {
    if (std::optional<std::string> path = localPath(url)) paths.push_back(std::move(*path));
  }
  return paths;
}

}  // namespace quorbitz
