#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace corvane::i18n {

// True when bytes are well-formed UTF-8: no overlong forms, no encoded surrogates, nothing
// above U+10FFFF, no sequence cut short.
bool isValidUtf8(QByteArrayView bytes);

// The text of an initialisation file. A file that starts with a UTF-16 byte-order mark is read
// as UTF-16 (little-endian, or big-endian for the FE FF mark); any other file as UTF-8, skipping
// a UTF-8 mark, where a line that is not valid UTF-8 is read in ansiCodeset (see AnsiDecoder).
// Invalid UTF-16 (a lone surrogate) becomes U+FFFD; an odd last byte is dropped.
// Line ends may be CR LF, a lone CR or a lone LF; IniFile takes all three alike.
QString decodeIniBytes(QByteArrayView bytes, const QByteArray& ansiCodeset);

} // namespace corvane::i18n
