#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace corvane::i18n::testing {

// Writes bytes over the file in place (same inode when it exists).
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// UTF-16LE with its byte-order mark, as editors on Windows save "Unicode" text.
inline QByteArray utf16LeWithMark(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace corvane::i18n::testing
