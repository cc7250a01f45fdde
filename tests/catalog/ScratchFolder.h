#pragma once
// A temporary folder that test cases write their XML files into.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvane::catalog::test {

class ScratchFolder {
public:
    ScratchFolder() { EXPECT_TRUE(dir_.isValid()); }

    QString path() const { return dir_.path(); }

    // Writes text (UTF-8) to a file below the folder, creating subfolders; returns its path.
    QString write(const QString& relativePath, const QByteArray& text) const {
        const QString full = dir_.filePath(relativePath);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
        file.write(text);
        return full;
    }

private:
    QTemporaryDir dir_;
};

} // namespace corvane::catalog::test
