#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <span>

namespace corvane::store {

class ProfileDatabase;

// Words a default profile name may start with, in any language the program
// has been used in. The profile button recognises all of them; the profile
// list pop-up only the first two.
inline constexpr std::array<QStringView, 12> kFullProfileWords = {
    u"Profile",       u"配置",          u"لتكوين",         u"Konfiguration",
    u"Configuración", u"Configuration", u"Configurazione", u"構成",
    u"Конфигурация",  u"Конфігурація",  u"Cấu hình",       u"Configuração",
};
inline constexpr std::array<QStringView, 2> kShortProfileWords = {u"Profile", u"配置"};

// What lives above the store and profile start-up needs.
struct ProfileStartupHooks {
    // The profile word (interface text 61) in the language in use; asked
    // afresh before each new profile.
    std::function<QString()> profileWord;
    // Writes the device's factory performance values into a new profile.
    std::function<void(int profile)> writeFactoryValues;
};

struct LoadedProfiles {
    int currentProfile = 0; // 0 when the store could not be read
    QString buttonText;     // the profile button's title
};

// Creates the four default profiles of a database without any ("<word> 1" to
// "<word> 4", profile 1 current), makes the first profile current when none
// is, and gives the current profile with the profile button's title. The
// store's lock is held throughout, so the hooks run under it and must not
// wait for another thread that uses the store.
LoadedProfiles loadProfiles(ProfileDatabase& database, const ProfileStartupHooks& hooks);

// A stored name that starts with one of words is shown with profileWord in
// place of that word; any other name is shown as stored.
QString profileDisplayName(QStringView storedName, std::span<const QStringView> words,
                           QStringView profileWord);

// The profile button's title for a profile: its stored name through
// profileDisplayName with the full word list; empty when it cannot be read.
QString profileButtonText(ProfileDatabase& database, int profile, QStringView profileWord);

} // namespace corvane::store
