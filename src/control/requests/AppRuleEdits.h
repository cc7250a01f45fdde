#pragma once
// Which applications choose a profile: the edits corvanectl's rule commands and the
// session-bus service make, the same on both paths.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::control {

inline constexpr int kAppRuleProfiles = 4;

struct AppRuleTable {
    std::vector<std::pair<int, QString>> rules; // (profile, application), profile order
    int defaultProfile = 1;
};

enum class RuleEdit {
    Done,
    NotStored,  // the store could not be written; nothing changed
    NoSuchRule, // remove: the profile does not name the application
    EmptyName,  // the application's name is blank
};

// An application's name as a rule keeps it (trimmed, on one line); empty when blank.
QString ruleAppName(const QString& app);

QStringList profileApps(store::ProfileDatabase& database, int profile);
AppRuleTable readAppRules(store::ProfileDatabase& database);

// Adds app to profile's rules. An application chooses one profile: a rule for it in
// another profile moves here in the same step (those profiles go to movedFrom), so a
// failed write never leaves it taken from one and not given to the other.
RuleEdit addAppRule(store::ProfileDatabase& database, int profile, const QString& app,
                    std::vector<int>* movedFrom = nullptr);
RuleEdit removeAppRule(store::ProfileDatabase& database, int profile, const QString& app);
RuleEdit setDefaultAppProfile(store::ProfileDatabase& database, int profile);

} // namespace corvane::control
