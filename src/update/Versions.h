#pragma once
// Version texts: what the download server announces, how two versions compare, and how
// a firmware version is written for the user.

#include <optional>

#include <QString>
#include <QStringView>

namespace corvane::update {

// Compares two dotted decimal program versions part by part from the left. Each part
// is read by its leading digits (0 when it has none); a part missing on one side counts
// as 0, so "1.0" equals "1.0.0". Returns 1 when `latest` is newer, 0 when both are
// equal, -1 when `current` is newer. Parts of any length compare correctly.
int compareVersions(QStringView current, QStringView latest);

// Compares two firmware versions as hexadecimal numbers ("105" is 0x105), each read by
// its leading hexadecimal digits. Same results as compareVersions.
int compareFirmwareVersions(QStringView current, QStringView latest);

// The program version in a server answer: the text without surrounding blanks and line
// ends, 1 to 10 characters, digits and dots only. Nothing for any other answer.
std::optional<QString> programVersionFrom(const QString& answer);

// The firmware version in a server answer: the trimmed text, 1 to 9 hexadecimal digits.
std::optional<QString> firmwareVersionFrom(const QString& answer);

// A firmware version as the user reads it: its first character, a dot and its last two
// characters ("105" -> "1.05"); a text shorter than three characters as it is.
QString firmwareVersionShown(const QString& version);

} // namespace corvane::update
