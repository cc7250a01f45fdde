// corvanectl macro: the macros of the current device type.
#include "control/requests/CommandContext.h"
#include "store/ProfileDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

void runMacroList(CommandContext& context) {
    if (!context.operandCount(0))
        return;
    std::vector<store::MacroDefinition> macros;
    context.database.listMacros(macros);
    QJsonArray list;
    for (const store::MacroDefinition& macro : macros) {
        std::vector<store::MacroEvent> events;
        context.database.listMacroEvents(macro.id, events);
        list.append(QJsonObject{{QStringLiteral("id"), macro.id},
                                {QStringLiteral("name"), macro.name},
                                {QStringLiteral("steps"), static_cast<int>(events.size())}});
    }
    if (context.json()) {
        context.printRaw(QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("macros"), list}}).toJson()));
        return;
    }
    for (const QJsonValue& value : list) {
        const QJsonObject macro = value.toObject();
        context.print(QStringLiteral("%1: %2 (%3 steps)")
                          .arg(macro[u"id"].toInt())
                          .arg(macro[u"name"].toString())
                          .arg(macro[u"steps"].toInt()));
    }
}

} // namespace corvane::control
