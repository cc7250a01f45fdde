#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace corvane::xml {

// Conversions between file bytes and UTF-16 text by Windows code page number,
// done with the C library's iconv (which knows the Windows code pages by name)
// and Qt's own UTF-8/16/32 coders; code page 1252 has a table of its own
// (Cp1252.h). codepage::SystemAnsi stands for the locale's
// character set, or Windows-1252 where the locale is UTF-8 or plain ASCII,
// because bytes that failed the UTF-8 test need a single-byte reading.

// The UTF-8 test: lead byte 0xxxxxxx alone, 110xxxxx with one continuation
// byte, 1110xxxx with two, 11110xxx with three; continuation bytes are 10xxxxxx.
// A lead byte 11111xxx, a stray or missing continuation byte fails the test.
bool passesUtf8Test(QByteArrayView bytes);

// The character set name iconv gets for codepage::SystemAnsi.
QByteArray systemAnsiCharset();

// Bytes to text. A character set the C library does not have falls back to the
// system code page. Invalid sequences become U+FFFD. `charsetUsed` receives the
// name of the character set that did the work.
QString decodeBytes(QByteArrayView bytes, int codePage, QByteArray* charsetUsed = nullptr);

// Text to bytes. `lossy` is set when a character had no representation and was
// replaced by the code page's '?', for the code pages that can tell; `substituted`
// whenever that happened, whatever the code page.
QByteArray encodeText(QStringView text, int codePage, bool* lossy = nullptr,
                      bool* substituted = nullptr);

} // namespace corvane::xml
