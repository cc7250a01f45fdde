#pragma once

#include <QStringView>

namespace corvane::xml {

// Code page numbers with a special meaning in conversions.
namespace codepage {
constexpr int SystemAnsi = 0; // the locale's 8-bit character set
constexpr int Utf16Le = 1200;
constexpr int Utf16Be = 1201;
constexpr int Utf32Le = 12000;
constexpr int Utf32Be = 12001;
constexpr int Utf7 = 65000;
constexpr int Utf8 = 65001;
} // namespace codepage

// Turns an encoding name ("UTF-8", "gbk", "windows-1252", "koi8-r" ...) into a
// Windows code page number through a table of 365 names and aliases of 111 code
// pages, ignoring ASCII case. A name beginning "UTF-32" is taken as 32-bit units.
// An empty name, one of 100 characters or more, or an unknown one gives
// codepage::SystemAnsi.
int codePageForEncoding(QStringView name);

// Number of names and of distinct code pages in the table (for tests of the data).
int encodingNameCount();
int encodingCodePageCount();

} // namespace corvane::xml
