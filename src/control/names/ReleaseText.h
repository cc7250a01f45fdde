#pragma once

#include <QString>

namespace corvane::control {

// A firmware release number as people read it: its hexadecimal digits with a dot
// before the last two (0x105 -> "1.05", 0x1234 -> "12.34", 0x5 -> "0.05").
QString releaseText(int release);

// A receiver version text ("105": major in hexadecimal, minor as two digits) with the
// same dot: "1.05". Texts shorter than three characters are taken as they stand.
QString dottedVersion(const QString& versionText);

} // namespace corvane::control
