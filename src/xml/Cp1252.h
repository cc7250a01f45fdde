#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace corvane::xml {

// Code page 1252 as Windows converts it. The C library's table leaves the
// five bytes 81, 8D, 8F, 90 and 9D without a character; Windows reads them as
// U+0081, U+008D, U+008F, U+0090 and U+009D and writes those back as the same
// bytes, so a file holding them comes through a load and a save unchanged.

// True for the names the C library may be given for code page 1252.
bool isCp1252(QByteArrayView charset);

QString decodeCp1252(QByteArrayView bytes);

// A character without a byte becomes '?' (one for a surrogate pair) and sets
// lossy.
QByteArray encodeCp1252(QStringView text, bool& lossy);

} // namespace corvane::xml
