#pragma once

namespace corvane::xml {

// Bits of MarkupDocument::documentFlags().
namespace docflag {
constexpr int Utf16LittleEndian = 1; // the file is UTF-16LE (with its mark)
constexpr int Utf8ByteOrderMark = 4; // the file starts with EF BB BF
constexpr int IgnoreNameCase = 8;    // names compare without regard to ASCII case
constexpr int Utf16BigEndian = 128;  // the file is UTF-16BE (with its mark)
} // namespace docflag

} // namespace corvane::xml
