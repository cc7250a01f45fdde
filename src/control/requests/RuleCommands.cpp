// corvanectl rule: which applications choose a profile when they have the focus, and the
// profile the mouse goes back to for every other application.
#include "control/requests/AppRuleEdits.h"
#include "control/requests/CommandContext.h"
#include "control/requests/ProfileChoice.h"
#include "store/ProfileDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

namespace {
bool reported(CommandContext& context, RuleEdit edit, int profile, const QString& app) {
    switch (edit) {
    case RuleEdit::Done:
        return true;
    case RuleEdit::NotStored:
        return context.failure(QStringLiteral("the profile store cannot be written"));
    case RuleEdit::NoSuchRule:
        return context.failure(
            QStringLiteral("profile %1 has no rule for %2").arg(profile).arg(app));
    case RuleEdit::EmptyName:
        break;
    }
    return context.usage(QStringLiteral("an application name cannot be empty"));
}

// The profile and the application a command names; false after a usage error.
bool profileAndApp(CommandContext& context, int& profile, QString& app) {
    QString text;
    if (!context.operand(0, QStringLiteral("the profile number"), text) ||
        !context.operand(1, QStringLiteral("the application"), app) || !context.operandCount(2) ||
        !chooseProfile(context, text, profile))
        return false;
    app = ruleAppName(app);
    if (app.isEmpty())
        return context.usage(QStringLiteral("an application name cannot be empty"));
    return true;
}
} // namespace

void runRuleList(CommandContext& context) {
    const AppRuleTable table = readAppRules(context.database);
    QJsonArray rules;
    for (const auto& [profile, app] : table.rules)
        rules.append(
            QJsonObject{{QStringLiteral("profile"), profile}, {QStringLiteral("app"), app}});
    if (context.json()) {
        context.printRaw(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("default"), table.defaultProfile},
                                      {QStringLiteral("rules"), rules}})
                .toJson()));
        return;
    }
    for (const auto& [profile, app] : table.rules)
        context.print(QStringLiteral("%1    %2").arg(profile).arg(app));
    context.print(QStringLiteral("default %1").arg(table.defaultProfile));
}

void runRuleAdd(CommandContext& context) {
    int profile = 0;
    QString app;
    if (!profileAndApp(context, profile, app))
        return;
    std::vector<int> movedFrom;
    if (!reported(context, addAppRule(context.database, profile, app, &movedFrom), profile, app))
        return;
    for (int other : movedFrom)
        context.note(QStringLiteral("%1 no longer chooses profile %2").arg(app).arg(other));
}

void runRuleRemove(CommandContext& context) {
    int profile = 0;
    QString app;
    if (profileAndApp(context, profile, app))
        reported(context, removeAppRule(context.database, profile, app), profile, app);
}

void runRuleDefault(CommandContext& context) {
    QString text;
    int profile = 0;
    if (!context.operand(0, QStringLiteral("the profile number"), text) ||
        !context.operandCount(1) || !chooseProfile(context, text, profile))
        return;
    reported(context, setDefaultAppProfile(context.database, profile), profile, {});
}

} // namespace corvane::control
