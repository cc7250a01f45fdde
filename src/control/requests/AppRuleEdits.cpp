#include "control/requests/AppRuleEdits.h"

#include "store/AppList.h"
#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"

namespace corvane::control {

namespace {
bool sameApp(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

QString ruleAppName(const QString& app) {
    return store::formatAppList({app});
}

QStringList profileApps(store::ProfileDatabase& database, int profile) {
    QString stored;
    database.getProfileApps(profile, stored);
    return store::parseAppList(stored);
}

AppRuleTable readAppRules(store::ProfileDatabase& database) {
    AppRuleTable table;
    for (int profile = 1; profile <= kAppRuleProfiles; ++profile) {
        for (const QString& app : profileApps(database, profile))
            table.rules.emplace_back(profile, app);
    }
    table.defaultProfile = database.getDefaultAppProfile();
    return table;
}

RuleEdit addAppRule(store::ProfileDatabase& database, int profile, const QString& app,
                    std::vector<int>* movedFrom) {
    const QString name = ruleAppName(app);
    if (name.isEmpty())
        return RuleEdit::EmptyName;
    store::StoreTransaction step(database);
    if (!step.isActive())
        return RuleEdit::NotStored;
    QStringList apps = profileApps(database, profile);
    apps.append(name);
    std::vector<int> moved;
    if (!store::giveAppsToProfile(database, profile, apps, &moved) || !step.commit())
        return RuleEdit::NotStored;
    if (movedFrom)
        *movedFrom = std::move(moved);
    return RuleEdit::Done;
}

RuleEdit removeAppRule(store::ProfileDatabase& database, int profile, const QString& app) {
    const QString name = ruleAppName(app);
    if (name.isEmpty())
        return RuleEdit::EmptyName;
    QStringList apps = profileApps(database, profile);
    if (apps.removeIf([&](const QString& entry) { return sameApp(entry, name); }) == 0)
        return RuleEdit::NoSuchRule;
    return database.setProfileApps(profile, store::formatAppList(apps)) ? RuleEdit::Done
                                                                        : RuleEdit::NotStored;
}

RuleEdit setDefaultAppProfile(store::ProfileDatabase& database, int profile) {
    return database.setDefaultAppProfile(profile) ? RuleEdit::Done : RuleEdit::NotStored;
}

} // namespace corvane::control
