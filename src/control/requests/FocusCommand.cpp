// corvanectl focus: which application the window sees as focused now, and the profile
// its rule names.
#include "control/requests/CommandContext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

void runFocus(CommandContext& context) {
    if (!context.operandCount(0))
        return;
    if (!context.session.focus) {
        context.failure(
            QStringLiteral("Corvane is not running; only its window follows the focus"));
        return;
    }
    const FocusView view = context.session.focus();
    const bool focused = !view.appId.isEmpty() || !view.instance.isEmpty() || view.pid > 0;
    const int profile = view.ruleProfile > 0 ? view.ruleProfile : view.defaultProfile;
    if (context.json()) {
        QJsonObject app;
        if (focused) {
            app = QJsonObject{
                {QStringLiteral("app_id"), view.appId},
                {QStringLiteral("instance"), view.instance},
                {QStringLiteral("title"), view.title},
                {QStringLiteral("pid"), view.pid},
                {QStringLiteral("identities"), QJsonArray::fromStringList(view.identities)}};
        }
        context.printRaw(QString::fromUtf8(
            QJsonDocument(
                QJsonObject{
                    {QStringLiteral("watcher"),
                     view.watcher.isEmpty() ? QJsonValue() : QJsonValue(view.watcher)},
                    {QStringLiteral("paused"), view.paused},
                    {QStringLiteral("focused"), focused ? QJsonValue(app) : QJsonValue()},
                    {QStringLiteral("profile"), focused ? QJsonValue(profile) : QJsonValue()},
                    {QStringLiteral("rule"), view.ruleProfile > 0}})
                .toJson()));
        return;
    }
    context.print(QStringLiteral("watcher   %1")
                      .arg(view.watcher.isEmpty()
                               ? QStringLiteral("none (reported over the session bus only)")
                               : view.watcher));
    context.print(QStringLiteral("following %1")
                      .arg(view.paused ? QStringLiteral("paused") : QStringLiteral("on")));
    if (!focused) {
        context.print(QStringLiteral("focused   nothing"));
        return;
    }
    context.print(QStringLiteral("app       %1").arg(view.appId));
    if (!view.instance.isEmpty())
        context.print(QStringLiteral("instance  %1").arg(view.instance));
    context.print(QStringLiteral("title     %1").arg(view.title));
    if (view.pid > 0)
        context.print(QStringLiteral("pid       %1").arg(view.pid));
    context.print(QStringLiteral("names     %1").arg(view.identities.join(QStringLiteral(", "))));
    context.print(QStringLiteral("profile   %1 (%2)")
                      .arg(profile)
                      .arg(view.ruleProfile > 0 ? QStringLiteral("its rule")
                                                : QStringLiteral("the default")));
}

} // namespace corvane::control
