// corvanectl set lighting: the lighting page's mode, brightness, speed and colours.
#include "control/names/SettingNames.h"
#include "control/names/ValueText.h"
#include "control/requests/CommandContext.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerHost.h"
#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"
#include "store/ValueRules.h"

namespace corvane::control {

namespace {

QString offeredModes(CommandContext& context) {
    std::vector<store::LightEffect> lights;
    context.database.listLights(context.profile, lights);
    QStringList names;
    for (const store::LightEffect& light : lights)
        names << lightModeName(light.mode);
    return choiceList(names);
}

bool levelOf(CommandContext& context, const QString& option, const store::IntRange& range,
             int& level) {
    const std::optional<int> value = parseNumber(context.request.option(option));
    if (!value || !range.contains(*value))
        return context.usage(
            QStringLiteral("--%1 must be %2 to %3").arg(option).arg(range.min).arg(range.max));
    level = *value;
    return true;
}

bool adjustable(CommandContext& context, const store::LightEffect& light, int bit,
                const QString& what) {
    if (light.configFunc & bit)
        return true;
    return context.usage(
        QStringLiteral("the %1 lighting has no %2").arg(lightModeName(light.mode), what));
}

bool coloursOf(CommandContext& context, store::LightEffect& light) {
    const Request& request = context.request;
    if (request.has(QStringLiteral("colour"))) {
        const std::optional<int> colour = parseColour(request.option(QStringLiteral("colour")));
        if (!colour)
            return context.usage(QStringLiteral("write colours as #RRGGBB"));
        light.colorValues[0] = *colour;
    }
    if (request.has(QStringLiteral("colours"))) {
        const QStringList list = splitList(request.option(QStringLiteral("colours")));
        const int slotCount =
            (light.configFunc & store::LightFunction::ColourSlots) ? kColourSlots : 1;
        if (list.size() > slotCount)
            return context.usage(QStringLiteral("the %1 lighting takes %2 colour%3")
                                     .arg(lightModeName(light.mode))
                                     .arg(slotCount)
                                     .arg(slotCount == 1 ? QString() : QStringLiteral("s")));
        for (int k = 0; k < list.size(); ++k) {
            const std::optional<int> colour = parseColour(list[k]);
            if (!colour)
                return context.usage(
                    QStringLiteral("\"%1\" is not a colour; write colours as #RRGGBB")
                        .arg(list[k]));
            light.colorValues[k] = *colour;
        }
    }
    return true;
}

} // namespace

void runSetLighting(CommandContext& context) {
    const Request& request = context.request;
    if (!context.details.hasLighting)
        return (void)context.usage(QStringLiteral("this mouse has no lighting"));
    const bool anyOption =
        request.has(QStringLiteral("brightness")) || request.has(QStringLiteral("speed")) ||
        request.has(QStringLiteral("colour")) || request.has(QStringLiteral("colours"));
    if (!context.operandCount(1))
        return;
    if (request.arguments.isEmpty() && !anyOption)
        return (void)context.usage(
            QStringLiteral("set lighting: nothing to set (see corvanectl set lighting --help)"));

    store::ProfileDatabase& db = context.database;
    store::StoreTransaction step(db);
    if (!step.isActive())
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    // As the lighting page does when it first shows a profile without light rows.
    db.createDefaultLights(context.profile, context.details.lightEffects);

    int mode = db.getCurrentLightMode(context.profile);
    if (!request.arguments.isEmpty()) {
        const std::optional<int> named = lightModeByName(request.arguments.first());
        if (!named)
            return (void)context.usage(
                QStringLiteral("unknown lighting \"%1\"; this mouse offers %2")
                    .arg(request.arguments.first(), offeredModes(context)));
        mode = *named;
    }
    store::LightEffect light;
    if (!db.getLight(context.profile, mode, light))
        return (void)context.usage(QStringLiteral("this mouse does not offer the %1 lighting; it "
                                                  "offers %2")
                                       .arg(lightModeName(mode), offeredModes(context)));
    if (request.has(QStringLiteral("brightness")) &&
        (!adjustable(context, light, store::LightFunction::Brightness,
                     QStringLiteral("brightness")) ||
         !levelOf(context, QStringLiteral("brightness"), store::kBrightnessRange,
                  light.brightness)))
        return;
    if (request.has(QStringLiteral("speed")) &&
        (!adjustable(context, light, store::LightFunction::Speed, QStringLiteral("speed")) ||
         !levelOf(context, QStringLiteral("speed"), store::kSpeedRange, light.speed)))
        return;
    const bool colours =
        request.has(QStringLiteral("colour")) || request.has(QStringLiteral("colours"));
    if (colours &&
        (!adjustable(context, light, store::LightFunction::Colour, QStringLiteral("colours")) ||
         !coloursOf(context, light)))
        return;

    if (!db.setCurrentLightMode(context.profile, mode) || !db.updateLight(mode, light) ||
        !step.commit())
        return (void)context.failure(QStringLiteral("the profile store cannot be written"));
    context.queue(protocol::DeviceTask::SendLighting);
    context.pages |= protocol::Page::Lighting;
}

} // namespace corvane::control
