// The session-bus service: published when the window starts, its properties following
// the worker's reports (attached mice, battery, connection, profile, DPI stage), its
// ReportFocus feeding the same follower the session's focus watcher feeds.

#include "app/desktop/BatteryAlerts.h"
#include "app/desktop/DesktopNotifier.h"
#include "app/desktop/MainTray.h"
#include "app/start/AppLog.h"
#include "app/start/TextIds.h"
#include "app/start/UiText.h"
#include "app/window/DeviceMainDlg.h"
#include "bus/SessionService.h"
#include "focus/ProfileFollower.h"
#include "hid/DeviceManager.h"
#include "protocol/transport/SettingValues.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "ui/base/Settings.h"

#include <QDBusConnection>

namespace corvane::app {

namespace {
// The connection to a bus given by address (the tests' private bus).
const QString kPrivateConnection = QStringLiteral("corvane-service");
constexpr int kCableKind = 0;
constexpr int kReceiverKind = 1;
constexpr int kChargingStatus = 1;

QString connectionName(int kind) {
    return kind == kCableKind      ? QStringLiteral("cable")
           : kind == kReceiverKind ? QStringLiteral("receiver")
                                   : bus::kNoConnection;
}
} // namespace

void DeviceMainDlg::startSessionService() {
    if (!m_context.serviceBus.publish)
        return;
    bus::SessionService::Hooks hooks;
    hooks.reportFocus = [this](const focus::FocusedApp& app) {
        takeFocusFromBus();
        if (m_follower)
            m_follower->focusChanged(app);
    };
    hooks.rulesStore = [this]() -> store::ProfileDatabase* {
        store::ProfileDatabase& database = store::ProfileDatabase::instance();
        return currentDeviceType() != 0 && database.isOpen() ? &database : nullptr;
    };
    m_service = std::make_unique<bus::SessionService>(std::move(hooks));
    const QString& address = m_context.serviceBus.address;
    const QDBusConnection connection =
        address.isEmpty() ? QDBusConnection::sessionBus()
                          : QDBusConnection::connectToBus(address, kPrivateConnection);
    if (!m_service->publish(connection))
        qCInfo(lcApp) << "the session-bus service is not offered:" << m_service->lastError();
    m_notifier = std::make_unique<DesktopNotifier>(connection);
    publishServiceState();
}

void DeviceMainDlg::stopSessionService() {
    if (!m_service)
        return;
    m_service.reset();
    m_notifier.reset();
    if (!m_context.serviceBus.address.isEmpty())
        QDBusConnection::disconnectFromBus(kPrivateConnection);
}

void DeviceMainDlg::publishServiceState() {
    if (!m_service)
        return;
    bus::ServiceState state;
    const int currentType = currentDeviceType();
    const int kind = m_worker ? hid::DeviceManager::instance().connectionKind() : -1;
    for (const protocol::DeviceListEntry& entry : m_attached) {
        const std::optional<catalog::DeviceDescription> description =
            catalog::findDescription(m_catalog, entry.deviceType);
        state.mice.push_back(
            {entry.deviceType,
             description ? description->name : QStringLiteral("type %1").arg(entry.deviceType),
             connectionName(entry.mode), entry.onlineState == hid::kOnline,
             entry.deviceType == currentType && entry.mode == kind});
    }
    const int profile = currentProfile();
    if (m_worker && currentType != 0 && kind >= 0 && profile > 0) {
        const protocol::WorkerState& worker = m_worker->state();
        state.connection = connectionName(kind);
        state.batteryLevel = worker.batteryLevel() > 0 ? worker.batteryLevel() : -1;
        state.charging = state.batteryLevel > 0 && worker.batteryStatus() == kChargingStatus;
        state.activeProfile = profile;
        store::ProfileDatabase& database = store::ProfileDatabase::instance();
        const int stage = database.getSettingInt(profile, protocol::keys::dpiIndex);
        if (stage >= 0) {
            state.activeDpiStage = stage + 1;
            state.activeDpi =
                database.getSettingInt(profile, QStringLiteral("dpi_group%1_value").arg(stage));
        }
    }
    m_service->setState(state);
}

void DeviceMainDlg::showBatteryOnDesktop(int deviceType, int level, int status) {
    const bool charging = status == kChargingStatus;
    if (m_tray) {
        const QString name = ui::deviceName();
        m_tray->setTip(
            level > 0 ? name + u'\n' +
                            uiText(charging ? MainText::BatteryTipCharging : MainText::BatteryTip)
                                .arg(level)
                      : name);
    }
    if (!m_batteryAlerts)
        m_batteryAlerts = std::make_unique<BatteryAlerts>();
    const std::optional<int> mark = m_batteryAlerts->report(level, charging);
    if (!mark || !m_notifier)
        return;
    const std::optional<catalog::DeviceDescription> description =
        catalog::findDescription(m_catalog, deviceType);
    m_notifier->notify(
        uiText(MainText::BatteryLow).arg(level), description ? description->name : ui::deviceName(),
        *mark <= 5 ? QStringLiteral("battery-caution") : QStringLiteral("battery-low"));
}

} // namespace corvane::app
