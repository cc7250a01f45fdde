#pragma once
// Number and small-format readers for the attribute texts of the installation's
// XML files. None of them fails: text that is not a number reads as 0.

#include <QString>
#include <QStringView>

namespace corvane::catalog {

// Leading decimal number: blanks skipped, an optional sign, then the decimal digits up
// to the first other character. "12abc" -> 12, "" or "abc" -> 0. Saturates at the int
// range instead of overflowing.
int leadingInt(QStringView text);

// Leading hexadecimal number: blanks skipped, an optional "0x"/"0X", then hexadecimal
// digits up to the first other character. "0xC0A1" and "C0A1" -> 0xC0A1, "" -> 0.
// Saturates at the largest int.
int leadingHex(QStringView text);

// A flag attribute: set only when its number is exactly 1 ("2", "" and "yes" are not).
bool flagOf(QStringView text);

// A colour written as a hash sign and six hexadecimal digits RRGGBB, as the Windows
// colour value 0x00BBGGRR (red in the low byte): "#FF8000" -> 0x0080FF. The first
// character is dropped whatever it is; components missing from a shorter text are 0.
int parseColour(QStringView text);

// A key callout line: the text "x1#x2#y" draws from (x1, y) to (x2, y). Each part is
// read with leadingInt; parts missing from the text are 0 ("120" -> 120, 0, 0).
struct CalloutLine {
    int x1 = 0;
    int x2 = 0;
    int y = 0;
    bool operator==(const CalloutLine&) const = default;
};
CalloutLine parseCallout(QStringView text);

} // namespace corvane::catalog
