#include "focus/AppRules.h"

namespace corvane::focus {

QStringList parseAppList(const QString& stored) {
    QStringList apps;
    for (const QString& line : stored.split(u'\n')) {
        const QString app = line.trimmed();
        if (!app.isEmpty())
            apps.append(app);
    }
    return apps;
}

QString formatAppList(const QStringList& apps) {
    QStringList kept;
    for (const QString& app : apps) {
        QString name = app;
        name.replace(u'\r', u' ').replace(u'\n', u' ');
        name = name.trimmed();
        if (!name.isEmpty() && !kept.contains(name, Qt::CaseInsensitive))
            kept.append(name);
    }
    return kept.join(u'\n');
}

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

int profileFor(const AppRules& rules, const QStringList& identities) {
    for (int index = 0; index < kRuleProfiles; ++index) {
        for (const QString& name : identities) {
            if (rules.apps[index].contains(name, Qt::CaseInsensitive))
                return index + 1;
        }
    }
    return rules.defaultProfile;
}

} // namespace corvane::focus
