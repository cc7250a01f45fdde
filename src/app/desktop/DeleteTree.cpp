#include "app/desktop/DeleteTree.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <system_error>

namespace corvane::app {

bool deleteTree(const QString& path) {
    if (path.isEmpty() || path.size() > maxDeletePathLength || !QDir::isAbsolutePath(path) ||
        QDir::cleanPath(path) == u"/")
        return false;
    const std::filesystem::path target(QFile::encodeName(path).toStdString());
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(target, error)))
        return false;
    std::filesystem::remove_all(target, error);
    return !error;
}

} // namespace corvane::app
