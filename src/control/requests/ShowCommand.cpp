// corvanectl show: one profile's settings, keys and the macros, as text or JSON.
#include "control/names/BindingDescription.h"
#include "control/names/FunctionNames.h"
#include "control/names/KeyNames.h"
#include "control/names/SettingNames.h"
#include "control/names/ValueText.h"
#include "control/requests/CommandContext.h"
#include "control/requests/ProfileChoice.h"
#include "protocol/transport/SettingValues.h"
#include "store/ProfileDatabase.h"
#include "store/ValueRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

namespace {

namespace keys = protocol::keys;

QJsonValue rateHertz(int code) {
    for (const store::ReportRateChoice& rate : store::reportRateChoices()) {
        if (rate.code == code)
            return rate.hertz;
    }
    return QJsonValue::Null;
}

QJsonValue sleepMinutes(int code) {
    for (const store::SleepChoice& choice : store::sleepChoices()) {
        if (choice.code == code)
            return choice.minutes;
    }
    return QJsonValue::Null;
}

QJsonObject dpiOf(store::ProfileDatabase& db, int profile) {
    QJsonArray stages;
    for (int k = 0; k < protocol::kDpiStages; ++k) {
        stages.append(QJsonObject{
            {QStringLiteral("stage"), k + 1},
            {QStringLiteral("dpi"), db.getSettingInt(profile, keys::dpiValue[k])},
            {QStringLiteral("colour"), colourText(db.getSettingInt(profile, keys::dpiColor[k]))},
        });
    }
    const int count = db.getSettingInt(profile, keys::dpiCount);
    const int index = db.getSettingInt(profile, keys::dpiIndex);
    // A stored active stage at or above the count is shown as stage 1, as the page does.
    const int active = store::isStageIndex(index, count) ? index : 0;
    return {{QStringLiteral("count"), count},
            {QStringLiteral("active"), active + 1},
            {QStringLiteral("stages"), stages}};
}

QJsonObject sensorOf(store::ProfileDatabase& db, int profile) {
    const int flags = db.getSettingInt(profile, keys::sensorFlag);
    QJsonObject options;
    for (const SensorOptionName& option : sensorOptionNames())
        options.insert(QLatin1String(option.name), (flags & option.bit) != 0);
    return options;
}

// The profile's current light row. A profile whose rows the lighting page has not
// written yet shows the rows it will write (mode 1 current, when offered).
std::optional<store::LightEffect> currentLight(CommandContext& context, int profile) {
    store::LightEffect light;
    if (context.database.countLights(profile) < 1) {
        for (std::size_t i = 0; i < store::kLightModeDefaults.size(); ++i) {
            if (context.details.lightEffects[i] && store::kLightModeDefaults[i].mode == 1)
                return store::defaultLightEffect(profile, store::kLightModeDefaults[i]);
        }
        return std::nullopt;
    }
    const int mode = context.database.getCurrentLightMode(profile);
    if (!context.database.getLight(profile, mode, light))
        return std::nullopt;
    return light;
}

QJsonValue lightingOf(CommandContext& context, int profile) {
    if (!context.details.hasLighting)
        return QJsonValue::Null;
    const std::optional<store::LightEffect> current = currentLight(context, profile);
    if (!current)
        return QJsonValue::Null;
    const store::LightEffect& light = *current;
    const int mode = light.mode;
    QJsonObject lighting{{QStringLiteral("mode"), lightModeName(mode)}};
    if (light.configFunc & store::LightFunction::Brightness)
        lighting.insert(QStringLiteral("brightness"), light.brightness);
    if (light.configFunc & store::LightFunction::Speed)
        lighting.insert(QStringLiteral("speed"), light.speed);
    if (light.configFunc & store::LightFunction::Colour) {
        const int shown = (light.configFunc & store::LightFunction::ColourSlots) ? kColourSlots : 1;
        QJsonArray colours;
        for (int k = 0; k < shown; ++k)
            colours.append(colourText(light.colorValues[k]));
        lighting.insert(QStringLiteral("colours"), colours);
    }
    return lighting;
}

QJsonArray keysOf(CommandContext& context, int profile,
                  const std::vector<store::MacroDefinition>& macros) {
    std::vector<store::ButtonBinding> bindings;
    context.database.listBindings(profile, bindings);
    QJsonArray list;
    for (const catalog::KeyEntry& key : context.details.keys) {
        const store::ButtonBinding* stored = nullptr;
        for (const store::ButtonBinding& binding : bindings) {
            if (binding.keyCode == key.keyValue)
                stored = &binding;
        }
        QJsonObject entry{{QStringLiteral("key"), mouseKeyName(key.nameId, key.keyValue)},
                          {QStringLiteral("number"), key.keyValue},
                          {QStringLiteral("stored"), stored != nullptr}};
        if (stored) {
            entry.insert(
                QStringLiteral("function"),
                functionName(stored->macroType, stored->macroValue, stored->macroValue2, macros));
            entry.insert(QStringLiteral("description"),
                         describeBinding(*stored, context.lcid(),
                                         [&context](int id) { return context.text(id); }));
        } else {
            entry.insert(QStringLiteral("function"),
                         functionName(key.funcType, key.funcValue, 0, macros));
            entry.insert(QStringLiteral("description"), context.text(key.funcDescId));
        }
        list.append(entry);
    }
    return list;
}

QJsonObject reportOf(CommandContext& context, int profile) {
    store::ProfileDatabase& db = context.database;
    QString name;
    db.getProfileName(profile, name);
    std::vector<store::MacroDefinition> macros;
    db.listMacros(macros);
    QJsonArray macroList;
    for (const store::MacroDefinition& macro : macros) {
        std::vector<store::MacroEvent> events;
        db.listMacroEvents(macro.id, events);
        macroList.append(QJsonObject{{QStringLiteral("id"), macro.id},
                                     {QStringLiteral("name"), macro.name},
                                     {QStringLiteral("steps"), static_cast<int>(events.size())}});
    }
    const int lod = db.getSettingInt(profile, keys::liftoffHeight);
    // The groups the performance page does not show for this mouse are null.
    const catalog::DeviceDetails& details = context.details;
    const QJsonValue liftOff =
        details.showLod && store::isLiftOffCode(lod) ? QJsonValue(lod) : QJsonValue();
    const QJsonValue sensor = details.showSensor ? QJsonValue(sensorOf(db, profile)) : QJsonValue();
    const QJsonValue respond = details.showRespondTime
                                   ? QJsonValue(db.getSettingInt(profile, keys::buttonResponseTime))
                                   : QJsonValue();
    return {
        {QStringLiteral("profile"),
         QJsonObject{{QStringLiteral("id"), profile},
                     {QStringLiteral("name"), name},
                     {QStringLiteral("current"), profile == context.profile}}},
        {QStringLiteral("dpi"), dpiOf(db, profile)},
        {QStringLiteral("rate"), rateHertz(db.getSettingInt(profile, keys::reportRate))},
        {QStringLiteral("lod"), liftOff},
        {QStringLiteral("sensor"), sensor},
        {QStringLiteral("sleep"),
         QJsonObject{
             {QStringLiteral("minutes"), sleepMinutes(db.getSettingInt(profile, keys::sleepLight))},
             {QStringLiteral("wake-on-move"), db.getSettingInt(profile, keys::moveWakeup) == 1},
             {QStringLiteral("light-off-on-move"),
              db.getSettingInt(profile, keys::moveCloseLight) == 1}}},
        {QStringLiteral("respond"), respond},
        {QStringLiteral("lighting"), lightingOf(context, profile)},
        {QStringLiteral("keys"), keysOf(context, profile, macros)},
        {QStringLiteral("macros"), macroList},
    };
}

QString orUnknown(const QJsonValue& value, const QString& unit) {
    return value.isNull() ? QStringLiteral("unknown")
                          : QStringLiteral("%1%2").arg(value.toInt()).arg(unit);
}

void printText(CommandContext& context, const QJsonObject& report) {
    const QJsonObject profile = report[u"profile"].toObject();
    context.print(QStringLiteral("Profile %1: %2%3")
                      .arg(profile[u"id"].toInt())
                      .arg(profile[u"name"].toString(), profile[u"current"].toBool()
                                                            ? QStringLiteral(" (current)")
                                                            : QString()));

    const QJsonObject dpi = report[u"dpi"].toObject();
    const int active = dpi[u"active"].toInt();
    context.print(
        QStringLiteral("DPI: %1 stages, active %2").arg(dpi[u"count"].toInt()).arg(active));
    for (const QJsonValue& value : dpi[u"stages"].toArray()) {
        const QJsonObject stage = value.toObject();
        const int number = stage[u"stage"].toInt();
        const QString mark = number > dpi[u"count"].toInt() ? QStringLiteral("  (unused)")
                             : number == active             ? QStringLiteral("  (active)")
                                                            : QString();
        context.print(QStringLiteral("  stage %1: %2 DPI %3%4")
                          .arg(number)
                          .arg(stage[u"dpi"].toInt(), 5)
                          .arg(stage[u"colour"].toString(), mark));
    }
    context.print(
        QStringLiteral("Report rate: %1").arg(orUnknown(report[u"rate"], QStringLiteral(" Hz"))));
    if (!report[u"lod"].isNull())
        context.print(QStringLiteral("Lift-off distance: %1")
                          .arg(orUnknown(report[u"lod"], QStringLiteral(" mm"))));
    if (report[u"sensor"].isObject()) {
        QStringList options;
        const QJsonObject sensor = report[u"sensor"].toObject();
        for (const SensorOptionName& option : sensorOptionNames())
            options << QStringLiteral("%1 %2").arg(
                QLatin1String(option.name),
                switchText(sensor[QLatin1String(option.name)].toBool()));
        context.print(QStringLiteral("Sensor: %1").arg(options.join(QStringLiteral(", "))));
    }
    const QJsonObject sleep = report[u"sleep"].toObject();
    context.print(QStringLiteral("Sleep: %1, wake on move %2, light off on move %3")
                      .arg(orUnknown(sleep[u"minutes"], QStringLiteral(" min")),
                           switchText(sleep[u"wake-on-move"].toBool()),
                           switchText(sleep[u"light-off-on-move"].toBool())));
    if (!report[u"respond"].isNull())
        context.print(
            QStringLiteral("Button response time: %1 ms").arg(report[u"respond"].toInt()));

    const QJsonValue lightingValue = report[u"lighting"];
    if (lightingValue.isObject()) {
        const QJsonObject lighting = lightingValue.toObject();
        QString line = QStringLiteral("Lighting: %1").arg(lighting[u"mode"].toString());
        if (lighting.contains(u"brightness"))
            line += QStringLiteral(", brightness %1").arg(lighting[u"brightness"].toInt());
        if (lighting.contains(u"speed"))
            line += QStringLiteral(", speed %1").arg(lighting[u"speed"].toInt());
        if (lighting.contains(u"colours")) {
            QStringList colours;
            for (const QJsonValue& colour : lighting[u"colours"].toArray())
                colours << colour.toString();
            line += QStringLiteral(", colours %1").arg(colours.join(u' '));
        }
        context.print(line);
    }

    context.print(QStringLiteral("Keys:"));
    for (const QJsonValue& value : report[u"keys"].toArray()) {
        const QJsonObject key = value.toObject();
        context.print(QStringLiteral("  %1 %2 %3")
                          .arg(key[u"key"].toString(), -8)
                          .arg(key[u"function"].toString(), -24)
                          .arg(key[u"description"].toString()));
    }
    const QJsonArray macros = report[u"macros"].toArray();
    context.print(macros.isEmpty() ? QStringLiteral("Macros: none") : QStringLiteral("Macros:"));
    for (const QJsonValue& value : macros) {
        const QJsonObject macro = value.toObject();
        context.print(QStringLiteral("  %1: %2 (%3 steps)")
                          .arg(macro[u"id"].toInt())
                          .arg(macro[u"name"].toString())
                          .arg(macro[u"steps"].toInt()));
    }
}

} // namespace

void runShow(CommandContext& context) {
    if (!context.operandCount(0))
        return;
    int profile = context.profile;
    if (context.request.has(QStringLiteral("profile")) &&
        !chooseProfile(context, context.request.option(QStringLiteral("profile")), profile))
        return;
    const QJsonObject report = reportOf(context, profile);
    if (context.json())
        context.printRaw(QString::fromUtf8(QJsonDocument(report).toJson(QJsonDocument::Indented)));
    else
        printText(context, report);
}

} // namespace corvane::control
