#pragma once

#include <QStringView>

namespace corvane::control {

// Reads a stored number the way every per-user value is read: leading blanks skipped,
// an optional sign, then decimal digits up to the first non-digit. A text without
// digits reads as 0; values beyond the int range are clamped.
int leadingInt(QStringView text);

} // namespace corvane::control
