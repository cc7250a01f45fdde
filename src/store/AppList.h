#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

namespace corvane::store {

class ProfileDatabase;

// A profile's application list as t_profile_data.app keeps it: one identity per line.

// The stored text as identities: trimmed, blank lines dropped.
QStringList parseAppList(const QString& stored);
// Identities as they are stored: trimmed, no blanks, no line breaks, no repeats (letter
// case ignored), in their order.
QString formatAppList(const QStringList& apps);

// What an identity taken from outside (a profile file, a typed name) may be: an app id,
// a window class or a program's file name is short, and none holds a control character.
inline constexpr qsizetype kMaxAppNameLength = 255;
// The most identities one profile takes from a file; far above what anyone names.
inline constexpr std::size_t kMaxProfileApps = 256;
bool isValidAppName(const QString& app);

// Makes apps the profile's whole list. An application chooses one profile: every other
// profile naming one of them loses it (those profiles go to movedFrom). Call it inside a
// StoreTransaction so a failed write never leaves an application taken from one profile
// and not given to the other; false when a write failed.
bool giveAppsToProfile(ProfileDatabase& database, int profile, const QStringList& apps,
                       std::vector<int>* movedFrom = nullptr);

} // namespace corvane::store
