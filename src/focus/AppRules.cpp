#include "focus/AppRules.h"

namespace corvane::focus {

QStringList identitiesOf(const FocusedApp& app, const QString& executable) {
    QStringList names;
    for (const QString& name : {app.appId, app.instance, executable}) {
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

bool hasRules(const AppRules& rules) {
    for (const QStringList& apps : rules.apps) {
        if (!apps.isEmpty())
            return true;
    }
    return false;
}

int ruleProfileFor(const AppRules& rules, const QStringList& identities) {
    for (int index = 0; index < kRuleProfiles; ++index) {
        for (const QString& name : identities) {
            if (rules.apps[index].contains(name, Qt::CaseInsensitive))
                return index + 1;
        }
    }
    return 0;
}

int profileFor(const AppRules& rules, const QStringList& identities) {
    const int profile = ruleProfileFor(rules, identities);
    return profile > 0 ? profile : rules.defaultProfile;
}

} // namespace corvane::focus
