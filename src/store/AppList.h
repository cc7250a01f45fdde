#pragma once

#include <QString>
#include <QStringList>

namespace corvane::store {

// A profile's application list as t_profile_data.app keeps it: one identity per line.

// The stored text as identities: trimmed, blank lines dropped.
QStringList parseAppList(const QString& stored);
// Identities as they are stored: trimmed, no blanks, no line breaks, no repeats (letter
// case ignored), in their order.
QString formatAppList(const QStringList& apps);

} // namespace corvane::store
