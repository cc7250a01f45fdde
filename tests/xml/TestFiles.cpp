#include "TestFiles.h"

#include <QFile>

namespace corvane::xml::test {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray utf16Bytes(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low);
        bytes.append(bigEndian ? low : high);
    }
    return bytes;
}

QByteArray utf32LeBytes(const QString& text) {
    QByteArray bytes;
    for (char32_t c : text.toUcs4()) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(char((c >> shift) & 0xFF));
    }
    return bytes;
}

} // namespace corvane::xml::test
