#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvane::xml::test {

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// The same text as UTF-16 units in the given byte order, without a mark.
QByteArray utf16Bytes(const QString& text, bool bigEndian);
QByteArray utf32LeBytes(const QString& text);

// A fixture with a temporary folder for the files a test reads and writes.
class TempFolderTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace corvane::xml::test
