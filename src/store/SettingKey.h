#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace corvane::store {

// One per-profile setting: its key text in t_configdata and the value every
// new profile gets. Numbers are held as decimal text.
struct SettingKey {
    const char* name;
    const char* defaultValue;
};

// The forty settings of a profile, in the order their rows are written.
extern const std::array<SettingKey, 40> kSettingKeys;

// Reads a setting's text as a number: leading blanks, an optional sign and
// the leading digits; anything else (or nothing) reads as 0.
int settingValueToInt(QStringView text);

} // namespace corvane::store
