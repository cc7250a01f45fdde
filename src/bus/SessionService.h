#pragma once

#include "bus/BusTypes.h"
#include "bus/ServiceState.h"
#include "focus/FocusedApp.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

#include <functional>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::bus {

// Corvane on the session bus (io.github.corvane.Corvane): the focus reported from
// outside, the rules that choose a profile for an application, and read-only properties
// for desktop widgets, announced with PropertiesChanged. Only the session's user reaches
// it: the session bus lets no one else in. Lives on the UI thread.
class SessionService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.corvane.Corvane")
    Q_PROPERTY(corvane::bus::MouseList Mice READ mice)
    Q_PROPERTY(int BatteryLevel READ batteryLevel)
    Q_PROPERTY(bool Charging READ charging)
    Q_PROPERTY(QString Connection READ connection)
    Q_PROPERTY(int ActiveProfile READ activeProfile)
    Q_PROPERTY(int ActiveDpiStage READ activeDpiStage)
    Q_PROPERTY(int ActiveDpi READ activeDpi)

public:
    static const QString kServiceName;
    static const QString kObjectPath;
    static const QString kInterface;

    struct Hooks {
        // A focus change reported over the bus; fed to the same follower the watchers feed.
        std::function<void(const focus::FocusedApp& app)> reportFocus;
        // The current mouse's store, whose rules the rule methods read and change; null
        // while no mouse's store is open.
        std::function<store::ProfileDatabase*()> rulesStore;
    };

    explicit SessionService(Hooks hooks, QObject* parent = nullptr);
    ~SessionService() override;

    // Registers the object and asks for the name on bus. False (with the reason in
    // lastError) when either is refused, e.g. the name is owned by someone else.
    bool publish(QDBusConnection bus);
    QString lastError() const { return m_error; }

    // The properties' new values; the ones that differ are announced in one signal.
    void setState(const ServiceState& state);
    const ServiceState& state() const { return m_state; }

    MouseList mice() const;
    int batteryLevel() const { return m_state.batteryLevel; }
    bool charging() const { return m_state.charging; }
    QString connection() const { return m_state.connection; }
    int activeProfile() const { return m_state.activeProfile; }
    int activeDpiStage() const { return m_state.activeDpiStage; }
    int activeDpi() const { return m_state.activeDpi; }

public slots:
    Q_SCRIPTABLE void ReportFocus(const QString& app_id, const QString& title, int pid);
    Q_SCRIPTABLE corvane::bus::RuleList ListRules(int& default_profile);
    Q_SCRIPTABLE void AddRule(int profile, const QString& app);
    Q_SCRIPTABLE void RemoveRule(int profile, const QString& app);
    Q_SCRIPTABLE void SetDefaultProfile(int profile);

private:
    // The store for a rule method; null after an error reply.
    store::ProfileDatabase* rulesStore();
    bool validProfile(int profile);
    void fail(const QString& name, const QString& message);

    Hooks m_hooks;
    ServiceState m_state;
    QDBusConnection m_bus{QString()};
    bool m_published = false;
    QString m_error;
};

} // namespace corvane::bus
