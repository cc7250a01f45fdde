// corvanectl rule: which applications choose a profile when they have the focus, and the
// profile the mouse goes back to for every other application.
#include "control/requests/CommandContext.h"
#include "control/requests/ProfileChoice.h"
#include "store/AppList.h"
#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

namespace {
constexpr int kProfiles = 4;

QStringList appsOf(CommandContext& context, int profile) {
    QString stored;
    context.database.getProfileApps(profile, stored);
    return store::parseAppList(stored);
}

bool storeApps(CommandContext& context, int profile, const QStringList& apps) {
    if (context.database.setProfileApps(profile, store::formatAppList(apps)))
        return true;
    return context.failure(QStringLiteral("the profile store cannot be written"));
}

// The profile and the application a command names; false after a usage error.
bool profileAndApp(CommandContext& context, int& profile, QString& app) {
    QString text;
    if (!context.operand(0, QStringLiteral("the profile number"), text) ||
        !context.operand(1, QStringLiteral("the application"), app) || !context.operandCount(2) ||
        !chooseProfile(context, text, profile))
        return false;
    app = store::formatAppList({app});
    if (app.isEmpty())
        return context.usage(QStringLiteral("an application name cannot be empty"));
    return true;
}
} // namespace

void runRuleList(CommandContext& context) {
    QJsonArray rules;
    for (int profile = 1; profile <= kProfiles; ++profile) {
        for (const QString& app : appsOf(context, profile))
            rules.append(
                QJsonObject{{QStringLiteral("profile"), profile}, {QStringLiteral("app"), app}});
    }
    const int fallback = context.database.getDefaultAppProfile();
    if (context.json()) {
        context.printRaw(
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("default"), fallback},
                                                        {QStringLiteral("rules"), rules}})
                                  .toJson()));
        return;
    }
    for (const QJsonValue& value : rules) {
        const QJsonObject rule = value.toObject();
        context.print(
            QStringLiteral("%1    %2").arg(rule[u"profile"].toInt()).arg(rule[u"app"].toString()));
    }
    context.print(QStringLiteral("default %1").arg(fallback));
}

void runRuleAdd(CommandContext& context) {
    int profile = 0;
    QString app;
    if (!profileAndApp(context, profile, app))
        return;
    // An application chooses one profile: a rule for it elsewhere moves here, in one
    // step, so a failed write never leaves it taken from one profile and not given to
    // the other.
    store::StoreTransaction step(context.database);
    if (!step.isActive())
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    for (int other = 1; other <= kProfiles; ++other) {
        QStringList apps = appsOf(context, other);
        if (other == profile || !apps.contains(app, Qt::CaseInsensitive))
            continue;
        apps.removeIf(
            [&](const QString& name) { return name.compare(app, Qt::CaseInsensitive) == 0; });
        if (!storeApps(context, other, apps))
            return;
        context.note(QStringLiteral("%1 no longer chooses profile %2").arg(app).arg(other));
    }
    QStringList apps = appsOf(context, profile);
    apps.append(app);
    if (storeApps(context, profile, apps) && !step.commit())
        context.failure(QStringLiteral("the profile store cannot be written"));
}

void runRuleRemove(CommandContext& context) {
    int profile = 0;
    QString app;
    if (!profileAndApp(context, profile, app))
        return;
    QStringList apps = appsOf(context, profile);
    const qsizetype removed = apps.removeIf(
        [&](const QString& name) { return name.compare(app, Qt::CaseInsensitive) == 0; });
    if (removed == 0)
        return (void)context.failure(
            QStringLiteral("profile %1 has no rule for %2").arg(profile).arg(app));
    storeApps(context, profile, apps);
}

void runRuleDefault(CommandContext& context) {
    QString text;
    int profile = 0;
    if (!context.operand(0, QStringLiteral("the profile number"), text) ||
        !context.operandCount(1) || !chooseProfile(context, text, profile))
        return;
    if (!context.database.setDefaultAppProfile(profile))
        context.failure(QStringLiteral("the profile store cannot be written"));
}

} // namespace corvane::control
