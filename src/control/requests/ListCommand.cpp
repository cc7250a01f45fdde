// corvanectl list: the attached mice.
#include "control/names/ReleaseText.h"
#include "control/requests/CommandContext.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/WorkerState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

namespace {

// GetInfo answer bytes (answer form).
constexpr int kBatteryStatusByte = 12;
constexpr int kBatteryLevelByte = 13;
constexpr int kChargingStatus = 1;
constexpr int kReceiverMode = 1;

QString nameOf(const catalog::DeviceCatalog& catalog, int deviceType) {
    const std::optional<catalog::DeviceDescription> description =
        catalog::findDescription(catalog, deviceType);
    return description ? description->name : QStringLiteral("type %1").arg(deviceType);
}

// The device type of an interface. A receiver whose type also attaches by cable is not
// asked (commands go to the cable), so its type comes from the catalog's USB ids.
int typeOf(const catalog::DeviceCatalog& catalog, const hid::ConnectedDevice& device) {
    if (device.deviceType > 0)
        return device.deviceType;
    for (const catalog::DeviceMode& mode : catalog.modes) {
        if (mode.vid == device.vendorId && mode.pid == device.productId)
            return mode.device.deviceType;
    }
    return 0;
}

QJsonObject entryOf(CommandContext& context, const hid::ConnectedDevice& device, int type) {
    const bool receiver = device.mode == kReceiverMode;
    QJsonObject entry{
        {QStringLiteral("type"), type},
        {QStringLiteral("name"), nameOf(context.session.catalog, type)},
        {QStringLiteral("connection"),
         receiver ? QStringLiteral("receiver") : QStringLiteral("cable")},
        {QStringLiteral("linked"), device.onlineState == hid::kOnline},
        {QStringLiteral("firmware"), releaseText(device.releaseNumber)},
        // The interface requests go to: the cable when the type has one, else the receiver.
        {QStringLiteral("current"),
         type == context.deviceType &&
             device.mode == hid::DeviceManager::instance().connectionKind()},
    };
    // The worker keeps the current mouse's battery up to date from its notices; the
    // others show what they answered when they were scanned.
    int level = device.info[kBatteryLevelByte];
    int status = device.info[kBatteryStatusByte];
    if (type == context.deviceType && device.deviceType > 0 && context.state.batteryLevel() > 0) {
        level = context.state.batteryLevel();
        status = context.state.batteryStatus();
    }
    entry.insert(
        QStringLiteral("battery"),
        level > 0 ? QJsonValue(QJsonObject{{QStringLiteral("level"), level},
                                           {QStringLiteral("charging"), status == kChargingStatus}})
                  : QJsonValue());
    return entry;
}

QString textLine(const QJsonObject& mouse) {
    QString connection = mouse[u"connection"].toString();
    if (connection == u"receiver")
        connection +=
            mouse[u"linked"].toBool() ? QStringLiteral(", linked") : QStringLiteral(", not linked");
    QString battery = QStringLiteral("-");
    if (mouse[u"battery"].isObject()) {
        const QJsonObject level = mouse[u"battery"].toObject();
        battery = QStringLiteral("%1%%2")
                      .arg(level[u"level"].toInt())
                      .arg(level[u"charging"].toBool() ? QStringLiteral(" charging") : QString());
    }
    return QStringLiteral("%1 %2 %3 firmware %4, battery %5%6")
        .arg(mouse[u"type"].toInt(), -4)
        .arg(mouse[u"name"].toString(), -16)
        .arg(connection, -20)
        .arg(mouse[u"firmware"].toString(), battery,
             mouse[u"current"].toBool() ? QStringLiteral(" (current)") : QString());
}

} // namespace

void runList(CommandContext& context) {
    if (!context.operandCount(0))
        return;
    QJsonArray mice;
    for (const hid::ConnectedDevice& device : hid::DeviceManager::instance().devices()) {
        if (const int type = typeOf(context.session.catalog, device); type > 0)
            mice.append(entryOf(context, device, type));
    }
    if (context.json()) {
        context.printRaw(
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("mice"), mice}}).toJson()));
        return;
    }
    for (const QJsonValue& mouse : mice)
        context.print(textLine(mouse.toObject()).trimmed());
}

} // namespace corvane::control
