#pragma once

#include "focus/FocusedApp.h"

#include "store/AppList.h"

#include <QStringList>

#include <array>

namespace corvane::focus {

using store::formatAppList;
using store::parseAppList;

inline constexpr int kRuleProfiles = 4;

// Which applications each profile (1..4) is for, and the profile the mouse goes back to
// when the focused application is named by no rule.
struct AppRules {
    std::array<QStringList, kRuleProfiles> apps; // [0] is profile 1
    int defaultProfile = 1;
};

// The names an application is known by, most specific first: its app id or window class,
// its window instance, and its executable's name (empty names left out).
QStringList identitiesOf(const FocusedApp& app, const QString& executable);

// Whether any profile names an application (without, the focus changes nothing).
bool hasRules(const AppRules& rules);

// The first profile whose list names one of the identities (letter case ignored); 0 when
// none does.
int ruleProfileFor(const AppRules& rules, const QStringList& identities);
// The same, else the default profile.
int profileFor(const AppRules& rules, const QStringList& identities);

} // namespace corvane::focus
