#include "bus/SessionService.h"

#include "control/requests/AppRuleEdits.h"
#include "store/ProfileDatabase.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace corvane::bus {

const QString SessionService::kServiceName = QStringLiteral("io.github.corvane.Corvane");
const QString SessionService::kObjectPath = QStringLiteral("/io/github/corvane/Corvane");
const QString SessionService::kInterface = QStringLiteral("io.github.corvane.Corvane");

namespace {

const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString kFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");
// Longer names and titles are cut: a report is one window's, never a document.
constexpr qsizetype kMaxText = 1024;

QString bounded(const QString& text) {
    return text.left(kMaxText);
}

// The properties and how to read each from a state, in the order of the interface.
struct PropertyRow {
    const char* name;
    QVariant (*read)(const SessionService& service);
};

const PropertyRow kProperties[] = {
    {"Mice", [](const SessionService& s) { return QVariant::fromValue(s.mice()); }},
    {"BatteryLevel", [](const SessionService& s) { return QVariant(s.batteryLevel()); }},
    {"Charging", [](const SessionService& s) { return QVariant(s.charging()); }},
    {"Connection", [](const SessionService& s) { return QVariant(s.connection()); }},
    {"ActiveProfile", [](const SessionService& s) { return QVariant(s.activeProfile()); }},
    {"ActiveDpiStage", [](const SessionService& s) { return QVariant(s.activeDpiStage()); }},
    {"ActiveDpi", [](const SessionService& s) { return QVariant(s.activeDpi()); }},
};

} // namespace

SessionService::SessionService(Hooks hooks, QObject* parent)
    : QObject(parent), m_hooks(std::move(hooks)) {
    registerBusTypes();
}

SessionService::~SessionService() {
    if (!m_published)
        return;
    m_bus.unregisterObject(kObjectPath);
    m_bus.unregisterService(kServiceName);
}

bool SessionService::publish(QDBusConnection bus) {
    if (!bus.isConnected()) {
        m_error = QStringLiteral("no session bus: %1").arg(bus.lastError().message());
        return false;
    }
    if (!bus.registerObject(kObjectPath, this,
                            QDBusConnection::ExportScriptableSlots |
                                QDBusConnection::ExportAllProperties)) {
        m_error = QStringLiteral("the object path %1 is taken").arg(kObjectPath);
        return false;
    }
    if (!bus.registerService(kServiceName)) {
        bus.unregisterObject(kObjectPath);
        m_error = QStringLiteral("the name %1 is owned by another program: %2")
                      .arg(kServiceName, bus.lastError().message());
        return false;
    }
    m_bus = bus;
    m_published = true;
    return true;
}

MouseList SessionService::mice() const {
    MouseList list;
    for (const AttachedMouse& mouse : m_state.mice) {
        list.append(QVariantMap{{QStringLiteral("device_type"), mouse.deviceType},
                                {QStringLiteral("name"), mouse.name},
                                {QStringLiteral("connection"), mouse.connection},
                                {QStringLiteral("linked"), mouse.linked},
                                {QStringLiteral("current"), mouse.current}});
    }
    return list;
}

void SessionService::setState(const ServiceState& state) {
    if (state == m_state)
        return;
    QVariantMap before;
    for (const PropertyRow& row : kProperties)
        before.insert(QLatin1String(row.name), row.read(*this));
    m_state = state;
    if (!m_published)
        return;
    QVariantMap changed;
    for (const PropertyRow& row : kProperties) {
        const QVariant now = row.read(*this);
        if (now != before.value(QLatin1String(row.name)))
            changed.insert(QLatin1String(row.name), now);
    }
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, kPropertiesInterface,
                                                     QStringLiteral("PropertiesChanged"));
    signal << kInterface << changed << QStringList();
    m_bus.send(signal);
}

void SessionService::ReportFocus(const QString& app_id, const QString& title, int pid) {
    if (!m_hooks.reportFocus)
        return;
    focus::FocusedApp app;
    app.appId = bounded(app_id);
    app.title = bounded(title);
    app.pid = pid > 0 ? pid : 0;
    m_hooks.reportFocus(app);
}

void SessionService::fail(const QString& name, const QString& message) {
    if (calledFromDBus())
        sendErrorReply(name, message);
}

store::ProfileDatabase* SessionService::rulesStore() {
    store::ProfileDatabase* database = m_hooks.rulesStore ? m_hooks.rulesStore() : nullptr;
    if (!database)
        fail(kFailed,
             QStringLiteral("no mouse attached: the rules are kept in each mouse's store"));
    return database;
}

bool SessionService::validProfile(int profile) {
    if (profile >= 1 && profile <= control::kAppRuleProfiles)
        return true;
    fail(kInvalidArgs, QStringLiteral("there is no profile %1; the profiles are 1 to %2")
                           .arg(profile)
                           .arg(control::kAppRuleProfiles));
    return false;
}

RuleList SessionService::ListRules(int& default_profile) {
    default_profile = 0;
    store::ProfileDatabase* database = rulesStore();
    if (!database)
        return {};
    const control::AppRuleTable table = control::readAppRules(*database);
    RuleList rules;
    for (const auto& [profile, app] : table.rules)
        rules.append({profile, app});
    default_profile = table.defaultProfile;
    return rules;
}

namespace {
QString editFailure(control::RuleEdit edit, int profile, const QString& app) {
    switch (edit) {
    case control::RuleEdit::Done:
        return {};
    case control::RuleEdit::NotStored:
        return QStringLiteral("the profile store cannot be written");
    case control::RuleEdit::NoSuchRule:
        return QStringLiteral("profile %1 has no rule for %2").arg(profile).arg(app);
    case control::RuleEdit::EmptyName:
        break;
    }
    return QStringLiteral("an application name cannot be empty");
}
} // namespace

void SessionService::AddRule(int profile, const QString& app) {
    store::ProfileDatabase* database = validProfile(profile) ? rulesStore() : nullptr;
    if (!database)
        return;
    const control::RuleEdit edit = control::addAppRule(*database, profile, bounded(app));
    if (edit != control::RuleEdit::Done)
        fail(edit == control::RuleEdit::NotStored ? kFailed : kInvalidArgs,
             editFailure(edit, profile, app));
}

void SessionService::RemoveRule(int profile, const QString& app) {
    store::ProfileDatabase* database = validProfile(profile) ? rulesStore() : nullptr;
    if (!database)
        return;
    const control::RuleEdit edit = control::removeAppRule(*database, profile, app);
    if (edit != control::RuleEdit::Done)
        fail(edit == control::RuleEdit::NotStored ? kFailed : kInvalidArgs,
             editFailure(edit, profile, app));
}

void SessionService::SetDefaultProfile(int profile) {
    store::ProfileDatabase* database = validProfile(profile) ? rulesStore() : nullptr;
    if (database && control::setDefaultAppProfile(*database, profile) != control::RuleEdit::Done)
        fail(kFailed, editFailure(control::RuleEdit::NotStored, profile, {}));
}

} // namespace corvane::bus
