// corvanectl set: the performance page's settings of the current profile. Every value is
// checked first; then the settings are written as one step and the task that sends that
// group of settings is queued, as the page does.
#include "control/names/SettingNames.h"
#include "control/names/ValueText.h"
#include "control/requests/CommandContext.h"
#include "protocol/transport/SettingValues.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerHost.h"
#include "protocol/worker/WorkerState.h"
#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"
#include "store/ValueRules.h"

#include <array>
#include <map>

namespace corvane::control {

namespace keys = protocol::keys;
namespace DeviceTask = protocol::DeviceTask;

namespace {

using Settings = std::vector<std::pair<QStringView, int>>;

bool writeSettings(CommandContext& context, const Settings& settings) {
    store::StoreTransaction step(context.database);
    for (const auto& [key, value] : settings) {
        if (!step.isActive() || !context.database.setSetting(context.profile, key, value))
            return context.failure(QStringLiteral("the profile store cannot be written"));
    }
    if (!step.commit())
        return context.failure(QStringLiteral("the profile store cannot be written"));
    return true;
}

// A number operand or option; a usage error naming `what` when it is not a number.
bool numberOf(CommandContext& context, const QString& text, const QString& what, int& value) {
    const std::optional<int> number = parseNumber(text);
    if (!number)
        return context.usage(QStringLiteral("%1 must be a number, not \"%2\"").arg(what, text));
    value = *number;
    return true;
}

bool switchOf(CommandContext& context, const QString& text, const QString& what, bool& on) {
    const std::optional<bool> value = parseSwitch(text);
    if (!value)
        return context.usage(QStringLiteral("%1 must be on or off, not \"%2\"").arg(what, text));
    on = *value;
    return true;
}

bool colourOf(CommandContext& context, const QString& text, int& colour) {
    const std::optional<int> value = parseColour(text);
    if (!value)
        return context.usage(
            QStringLiteral("\"%1\" is not a colour; write colours as #RRGGBB").arg(text));
    colour = *value;
    return true;
}

bool hasAny(const Request& request, std::initializer_list<const char*> options) {
    for (const char* option : options) {
        if (request.has(QLatin1String(option)))
            return true;
    }
    return false;
}

// The performance page shows the lift-off, sensor and response time groups only for a
// mouse whose device file asks for them; the others cannot be set for it either.
bool offered(CommandContext& context, bool shown, const char* what) {
    return shown || context.usage(QStringLiteral("this mouse has no %1").arg(QLatin1String(what)));
}

bool requireSomething(CommandContext& context, bool given) {
    return given || context.usage(QStringLiteral("set %1: nothing to set (see corvanectl set %1 "
                                                 "--help)")
                                      .arg(context.request.action));
}

// --- DPI ---

// The nearest values the sensor takes around a refused one, for the error message.
QString dpiError(int sensorId, int dpi) {
    const store::SensorDpiRule& rule = store::sensorDpiRule(sensorId);
    if (dpi < rule.dpiMin || dpi > rule.dpiMax)
        return QStringLiteral("DPI %1 is out of range; this mouse's sensor takes %2 to %3")
            .arg(dpi)
            .arg(rule.dpiMin)
            .arg(rule.dpiMax);
    const int below = store::snapDpi(sensorId, dpi);
    const int above =
        store::sliderPositionToDpi(sensorId, store::dpiToSliderPosition(sensorId, below) + 1);
    return QStringLiteral("DPI %1 is not a step of this mouse's sensor; the nearest are %2 and %3")
        .arg(dpi)
        .arg(below)
        .arg(above);
}

bool dpiOf(CommandContext& context, const QString& text, int& dpi) {
    if (!numberOf(context, text, QStringLiteral("DPI"), dpi))
        return false;
    const int sensor = context.state.sensorId();
    if (!store::isCarriedDpi(sensor, dpi))
        return context.usage(dpiError(sensor, dpi));
    return true;
}

bool stageOf(CommandContext& context, const QString& text, int& stage) {
    if (!numberOf(context, text, QStringLiteral("the stage"), stage))
        return false;
    if (stage < 1 || stage > store::kMaxStages)
        return context.usage(QStringLiteral("there is no stage %1; stages are 1 to %2")
                                 .arg(text)
                                 .arg(store::kMaxStages));
    --stage; // stored from 0
    return true;
}

} // namespace

void runSetDpi(CommandContext& context) {
    const Request& request = context.request;
    store::ProfileDatabase& db = context.database;
    std::array<int, protocol::kDpiStages> values{};
    std::array<int, protocol::kDpiStages> colours{};
    for (int k = 0; k < protocol::kDpiStages; ++k) {
        values[k] = db.getSettingInt(context.profile, keys::dpiValue[k]);
        colours[k] = db.getSettingInt(context.profile, keys::dpiColor[k]);
    }
    const int storedCount = db.getSettingInt(context.profile, keys::dpiCount);
    const int storedIndex = db.getSettingInt(context.profile, keys::dpiIndex);
    int count = store::isStageCount(storedCount) ? storedCount : store::kMaxStages;
    int index = storedIndex;
    bool stagesChanged = false;
    bool coloursChanged = false;

    if (!context.operandCount(1) ||
        !requireSomething(context,
                          !request.arguments.isEmpty() ||
                              hasAny(request, {"stages", "colours", "count", "active", "colour"})))
        return;
    if (request.has(QStringLiteral("stages"))) {
        const QStringList list = splitList(request.option(QStringLiteral("stages")));
        if (list.size() > store::kMaxStages)
            return (void)context.usage(QStringLiteral("at most %1 stages").arg(store::kMaxStages));
        for (int k = 0; k < list.size(); ++k) {
            if (!dpiOf(context, list[k], values[k]))
                return;
        }
        count = static_cast<int>(list.size());
        stagesChanged = true;
    }
    if (request.has(QStringLiteral("colours"))) {
        const QStringList list = splitList(request.option(QStringLiteral("colours")));
        if (list.size() > store::kMaxStages)
            return (void)context.usage(QStringLiteral("at most %1 colours").arg(store::kMaxStages));
        for (int k = 0; k < list.size(); ++k) {
            if (!colourOf(context, list[k], colours[k]))
                return;
        }
        coloursChanged = true;
    }
    if (request.has(QStringLiteral("count"))) {
        if (!numberOf(context, request.option(QStringLiteral("count")), QStringLiteral("the count"),
                      count))
            return;
        if (!store::isStageCount(count))
            return (void)context.usage(QStringLiteral("the stage count must be %1 to %2")
                                           .arg(store::kStageCountRange.min)
                                           .arg(store::kStageCountRange.max));
        stagesChanged = true;
    }
    if (request.has(QStringLiteral("active"))) {
        if (!stageOf(context, request.option(QStringLiteral("active")), index))
            return;
        if (index >= count)
            return (void)context.usage(
                QStringLiteral("stage %1 is not in use; the active stage must be 1 to %2")
                    .arg(index + 1)
                    .arg(count));
        stagesChanged = true;
    } else if (!store::isStageIndex(index, count)) {
        // As the page does when the count shrinks below the active stage.
        index = storedIndex >= count ? count - 1 : 0;
    }
    // The stage a lone value or colour is for: --stage, else the active stage.
    int stage = index;
    if (request.has(QStringLiteral("stage")) &&
        !stageOf(context, request.option(QStringLiteral("stage")), stage))
        return;
    if (!request.arguments.isEmpty()) {
        if (!dpiOf(context, request.arguments.first(), values[stage]))
            return;
        stagesChanged = true;
    }
    if (request.has(QStringLiteral("colour"))) {
        if (!colourOf(context, request.option(QStringLiteral("colour")), colours[stage]))
            return;
        coloursChanged = true;
    }

    Settings settings;
    if (stagesChanged) {
        settings.emplace_back(keys::dpiCount, count);
        settings.emplace_back(keys::dpiIndex, index);
        for (int k = 0; k < protocol::kDpiStages; ++k)
            settings.emplace_back(keys::dpiValue[k], values[k]);
    }
    if (coloursChanged) {
        for (int k = 0; k < protocol::kDpiStages; ++k)
            settings.emplace_back(keys::dpiColor[k], colours[k]);
    }
    if (!writeSettings(context, settings))
        return;
    if (stagesChanged)
        context.queue(DeviceTask::SendDpi);
    if (coloursChanged)
        context.queue(DeviceTask::SendDpiColors);
    context.pages |= protocol::Page::Performance;
    context.note(QStringLiteral("DPI: %1 stages, stage %2 active at %3 DPI")
                     .arg(count)
                     .arg(index + 1)
                     .arg(values[index]));
}

void runSetRate(CommandContext& context) {
    QString text;
    if (!context.operand(0, QStringLiteral("the report rate (in Hz)"), text) ||
        !context.operandCount(1))
        return;
    QString hertz = text;
    if (hertz.endsWith(QStringLiteral("hz"), Qt::CaseInsensitive))
        hertz.chop(2);
    const std::optional<int> value = parseNumber(hertz);
    QStringList offered;
    for (const store::ReportRateChoice& rate :
         store::offeredReportRates(context.state.rateCapability())) {
        if (value && rate.hertz == *value) {
            // The page writes both keys, whatever the connection.
            if (writeSettings(context, {{keys::reportRate, rate.code},
                                        {keys::reportRateWireless, rate.code}})) {
                context.queue(DeviceTask::SendReportRate);
                context.pages |= protocol::Page::Performance;
                context.note(QStringLiteral("report rate: %1 Hz").arg(rate.hertz));
            }
            return;
        }
        offered << QString::number(rate.hertz);
    }
    context.usage(QStringLiteral("this mouse does not offer a report rate of %1; it offers %2 Hz")
                      .arg(text, choiceList(offered)));
}

void runSetLod(CommandContext& context) {
    QString text;
    if (!offered(context, context.details.showLod, "lift-off distance setting") ||
        !context.operand(0, QStringLiteral("the lift-off distance (1 or 2 mm)"), text) ||
        !context.operandCount(1))
        return;
    QString number = text;
    if (number.endsWith(QStringLiteral("mm"), Qt::CaseInsensitive))
        number.chop(2);
    if (number.endsWith(QStringLiteral(".0")))
        number.chop(2);
    const std::optional<int> code = parseNumber(number);
    if (!code || !store::isLiftOffCode(*code))
        return (void)context.usage(
            QStringLiteral("the lift-off distance is 1 or 2 (mm), not \"%1\"").arg(text));
    if (writeSettings(context, {{keys::liftoffHeight, *code}})) {
        context.queue(DeviceTask::SendSensor);
        context.pages |= protocol::Page::Performance;
    }
}

void runSetSensor(CommandContext& context) {
    if (!offered(context, context.details.showSensor, "sensor options"))
        return;
    // The page writes only its three bits, whatever else the stored value held.
    const int stored = context.database.getSettingInt(context.profile, keys::sensorFlag);
    int flags = 0;
    for (const SensorOptionName& option : sensorOptionNames())
        flags |= stored & option.bit;
    if (!requireSomething(context, !context.request.arguments.isEmpty()))
        return;
    QStringList names;
    for (const SensorOptionName& option : sensorOptionNames())
        names << QLatin1String(option.name);
    for (const QString& argument : context.request.arguments) {
        const qsizetype eq = argument.indexOf(u'=');
        const QString name = argument.left(eq);
        const SensorOptionName* option = nullptr;
        for (const SensorOptionName& candidate : sensorOptionNames()) {
            if (name.compare(QLatin1String(candidate.name), Qt::CaseInsensitive) == 0)
                option = &candidate;
        }
        if (eq < 0 || !option)
            return (void)context.usage(QStringLiteral("\"%1\" is not OPTION=on|off; the options "
                                                      "are %2")
                                           .arg(argument, choiceList(names)));
        bool on = false;
        if (!switchOf(context, argument.mid(eq + 1), name, on))
            return;
        flags = on ? flags | option->bit : flags & ~option->bit;
    }
    if (writeSettings(context, {{keys::sensorFlag, flags}})) {
        context.queue(DeviceTask::SendSensor);
        context.pages |= protocol::Page::Performance;
    }
}

void runSetSleep(CommandContext& context) {
    const Request& request = context.request;
    if (!context.operandCount(1) ||
        !requireSomething(context, !request.arguments.isEmpty() ||
                                       hasAny(request, {"wake-on-move", "light-off-on-move"})))
        return;
    Settings settings;
    if (!request.arguments.isEmpty()) {
        const QString text = request.arguments.first();
        const std::optional<int> minutes = parseNumber(text);
        QStringList choices;
        int code = 0;
        for (const store::SleepChoice& choice : store::sleepChoices()) {
            choices << QString::number(choice.minutes);
            if (minutes && choice.minutes == *minutes)
                code = choice.code;
        }
        if (code == 0)
            return (void)context.usage(QStringLiteral("the sleep time is %1 minutes, not \"%2\"")
                                           .arg(choiceList(choices), text));
        settings.emplace_back(keys::sleepLight, code);
    }
    const std::pair<const char*, QStringView> switches[] = {
        {"wake-on-move", keys::moveWakeup},
        {"light-off-on-move", keys::moveCloseLight},
    };
    for (const auto& [name, key] : switches) {
        bool on = false;
        const QString option = QLatin1String(name);
        if (!request.has(option))
            continue;
        if (!switchOf(context, request.option(option), QStringLiteral("--") + option, on))
            return;
        settings.emplace_back(key, on ? 1 : 0);
    }
    if (writeSettings(context, settings)) {
        context.queue(DeviceTask::SendPower);
        context.pages |= protocol::Page::Performance;
    }
}

void runSetRespond(CommandContext& context) {
    QString text;
    int ms = 0;
    if (!offered(context, context.details.showRespondTime, "button response time setting") ||
        !context.operand(0, QStringLiteral("the button response time (ms)"), text) ||
        !context.operandCount(1) ||
        !numberOf(context, text, QStringLiteral("the response time"), ms))
        return;
    if (!store::kResponseTimeRange.contains(ms))
        return (void)context.usage(QStringLiteral("the button response time is %1 to %2 ms")
                                       .arg(store::kResponseTimeRange.min)
                                       .arg(store::kResponseTimeRange.max));
    if (writeSettings(context, {{keys::buttonResponseTime, ms}})) {
        context.queue(DeviceTask::SendPower);
        context.pages |= protocol::Page::Performance;
    }
}

void runReset(CommandContext& context) {
    if (!context.operandCount(0))
        return;
    if (!context.request.has(QStringLiteral("yes")))
        return (void)context.usage(
            QStringLiteral("reset puts the mouse and every profile back to the factory settings; "
                           "add --yes to do it"));
    // As the settings page: only a mouse that answers can be reset.
    if (context.state.connected() == 0)
        return (void)context.failure(QStringLiteral("the wireless mouse is not linked"));
    // Every device type is read again after the reset, as after the settings page's.
    context.state.clearReadBackDone();
    context.queue(DeviceTask::FactoryReset);
}

} // namespace corvane::control
