#pragma once
// How corvanectl writes and reads values on the command line and in its JSON.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace corvane::control {

// A whole decimal number, optionally signed, nothing else (no blanks, no fraction).
std::optional<int> parseNumber(QStringView text);

// "on", "off" (also "1", "0", "yes", "no", "true", "false").
std::optional<bool> parseSwitch(QStringView text);
QString switchText(bool on);

// Colours are written "#RRGGBB" (the '#' may be left out); the store keeps 0x00BBGGRR.
std::optional<int> parseColour(QStringView text);
QString colourText(int storedColour);

// A comma-separated list ("400,800,1600"); empty items are kept (and refused later).
QStringList splitList(const QString& text);

// "a, b or c" for error messages.
QString choiceList(const QStringList& choices);

// Text for a terminal: every control character (C0, DEL, C1) becomes '?', so that a name
// from a file (which may carry ESC through a character reference) cannot rewrite the
// screen. One line stays one line.
QString terminalText(QStringView text);

} // namespace corvane::control
