#pragma once

#include <QString>

namespace corvane::app {

// Longest path deleteTree accepts; a longer one is refused rather than shortened (a
// shortened path would name a different folder).
constexpr int maxDeletePathLength = 259;

// Deletes a file or a folder with everything below it (a symbolic link is removed, not
// followed). False when nothing is at the path, when deleting fails, or when the path
// is empty, relative, the root folder or longer than maxDeletePathLength.
bool deleteTree(const QString& path);

} // namespace corvane::app
