// The window publishes its session-bus service on a private bus: a press of the mouse's
// DPI button is announced as a property change, and a focus reported over the bus moves
// the mouse to the rule's profile (judged by the report rate it runs at: profile 3 at
// 500 Hz, the default profile 1 at 1000 Hz).
#include "WindowTest.h"

#include "app/desktop/MainTray.h"
#include "app/window/WindowRequests.h"
#include "bus/SessionService.h"
#include "control/requests/Request.h"
#include "focus/KWinScriptLoader.h"
#include "focus/ProfileFollower.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "support/PrivateBus.h"
#include "support/PropertiesRecorder.h"
#include "virtualmouse/Receiver.h"
#include "virtualmouse/VirtualMouse.h"

#include <QAction>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::app::test {

// KWin's scripting object as far as Corvane uses it; it writes down what it is asked.
// The desktop's notification service; it writes down each notification's summary.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    std::vector<QString> summaries;
    std::vector<QString> icons;

public slots:
    Q_SCRIPTABLE uint Notify(const QString&, uint, const QString& icon, const QString& summary,
                             const QString&, const QStringList&, const QVariantMap&, int) {
        summaries.push_back(summary);
        icons.push_back(icon);
        return uint(summaries.size());
    }
};

class FakeKWinScripting : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    std::vector<std::pair<QString, QString>> loads; // (file, plugin name)
    std::vector<QString> calls;

public slots:
    Q_SCRIPTABLE int loadScript(const QString& filePath, const QString& pluginName) {
        calls.push_back(QStringLiteral("loadScript"));
        loads.emplace_back(filePath, pluginName);
        return 7;
    }
    Q_SCRIPTABLE bool unloadScript(const QString&) {
        calls.push_back(QStringLiteral("unloadScript"));
        return false;
    }
    Q_SCRIPTABLE void start() { calls.push_back(QStringLiteral("start")); }
};

// Stands for the X11 watcher on a desktop that also reports over the bus: the test says
// what it sees.
class ScriptedWatcher : public focus::FocusWatcher {
public:
    bool start() override { return true; }
    QString name() const override { return QStringLiteral("x11"); }
    void see(const QString& appId) {
        focus::FocusedApp app;
        app.appId = appId;
        emit focused(app);
    }
};

namespace {

using bus::SessionService;
using corvane::test::PrivateBus;

class SessionServiceWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (!PrivateBus::installed())
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup installs it)";
        ASSERT_TRUE(daemon.start());
        client = daemon.connect(QStringLiteral("desktop"));
        ASSERT_TRUE(client.isConnected());
        adjustContext = [this](WindowContext& context) {
            context.serviceBus.publish = true;
            context.serviceBus.address = daemon.address();
            if (extraContext)
                extraContext(context);
        };
    }

    // Starts the window, with the wired mouse unless the test attached its own.
    void launch(bool wiredMouse = true) {
        if (wiredMouse) {
            vm::WiredMouseConfig m1;
            m1.productId = 0xC0A1;
            m1.mouse.deviceId = "CVM1";
            mouse = bus->addWiredMouse(m1);
        }
        startWindow();
        waitForStart();
        ASSERT_TRUE(
            recorder.listen(client, SessionService::kServiceName, SessionService::kObjectPath));
    }

    // Profile 3 runs the mouse at 500 Hz, every other profile at 1000 Hz; the game
    // chooses profile 3.
    void gameRule() {
        store::ProfileDatabase& db = store::ProfileDatabase::instance();
        for (int profile = 1; profile <= 4; ++profile) {
            const QString rate = profile == 3 ? QStringLiteral("2") : QStringLiteral("1");
            ASSERT_TRUE(db.setSetting(profile, u"report_rate", rate));
            ASSERT_TRUE(db.setSetting(profile, u"report_rate_wireless", rate));
        }
        ASSERT_TRUE(db.setProfileApps(3, QStringLiteral("steam_app_730")));
    }

    QDBusMessage reportFocus(const QString& appId, const QString& title, int pid) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            SessionService::kServiceName, SessionService::kObjectPath, SessionService::kInterface,
            QStringLiteral("ReportFocus"));
        call << appId << title << pid;
        return corvane::test::callAndWait(client, call);
    }

    PrivateBus daemon;
    QDBusConnection client{QString()};
    std::shared_ptr<vm::WiredMouse> mouse;
    corvane::test::PropertiesRecorder recorder;
    std::function<void(WindowContext&)> extraContext;
};

TEST_F(SessionServiceWindow, ThePressOfTheDpiButtonIsAnnouncedWithTheStageTheMouseIsOn) {
    launch();
    const int before = window->sessionService()->activeDpiStage();
    ASSERT_GE(before, 1);
    ASSERT_TRUE(mouse->pressDpiButton());
    // The stage the mouse itself now runs (B4's high nibble, counted from 0).
    const int stage = (mouse->kept(0x03)->parameters[0] >> 4) + 1;
    ASSERT_NE(stage, before);
    ASSERT_TRUE(waitUntil([&] {
        return recorder.last(QStringLiteral("ActiveDpiStage")).isValid();
    })) << "no PropertiesChanged for the DPI stage";
    EXPECT_EQ(recorder.last(QStringLiteral("ActiveDpiStage")), QVariant(stage));
    EXPECT_EQ(recorder.changes.back().interface, SessionService::kInterface);
}

TEST_F(SessionServiceWindow, AFocusReportedOverTheBusSwitchesTheMouseAfterTheFocusSettles) {
    launch();
    gameRule();
    std::vector<int> switches;
    QObject::connect(window->profileFollower(), &focus::ProfileFollower::switched,
                     [&](int profile, const focus::FocusedApp&) { switches.push_back(profile); });

    // Alt+Tab through three windows, the game last: one switch, to the game's profile.
    ASSERT_EQ(
        reportFocus(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("notes"), 4002).type(),
        QDBusMessage::ReplyMessage);
    reportFocus(QStringLiteral("firefox"), QStringLiteral("news"), 4003);
    reportFocus(QStringLiteral("steam_app_730"), QStringLiteral("Counter-Strike 2"), 4001);
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 500; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, std::vector<int>{3});
    EXPECT_TRUE(waitUntil([&] { return recorder.last(QStringLiteral("ActiveProfile")) == 3; }));

    reportFocus(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("notes"), 4002);
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 1000; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    EXPECT_EQ(switches, (std::vector<int>{3, 1}));
    EXPECT_TRUE(waitUntil([&] { return recorder.last(QStringLiteral("ActiveProfile")) == 1; }));
}

// GNOME on Wayland: the extension reports every window over the bus while the X11 watcher
// sees XWayland windows only and reports nothing focused when a native window takes the
// focus. That empty report must not cancel the extension's report of the same change.
TEST_F(SessionServiceWindow, OnceTheDesktopReportsOverTheBusTheWatchersReportsAreDropped) {
    ScriptedWatcher* watcher = nullptr;
    extraContext = [&](WindowContext& context) {
        context.focusWatcher = [&] {
            auto made = std::make_unique<ScriptedWatcher>();
            watcher = made.get();
            return made;
        };
    };
    launch();
    gameRule();
    ASSERT_NE(watcher, nullptr);

    // Until the bus reports, the watcher is followed: the game runs under XWayland.
    watcher->see(QStringLiteral("steam_app_730"));
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 500; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";

    // A native editor takes the focus: the extension says so, XWayland says nothing is focused.
    reportFocus(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("notes"), 4002);
    watcher->see(QString());
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 1000; }, 20000))
        << "the mouse stayed at " << reportRateHz(*mouse) << " Hz";

    watcher->see(QStringLiteral("steam_app_730"));
    EXPECT_EQ(window->profileFollower()->focusedNow().appId,
              QStringLiteral("org.gnome.TextEditor"));
    EXPECT_EQ(window->focusView().watcher, QStringLiteral("session bus"));
}

TEST_F(SessionServiceWindow, CorvanectlFocusTellsWhatWasReportedAndTheProfileItsRuleNames) {
    launch();
    ASSERT_TRUE(store::ProfileDatabase::instance().setProfileApps(2, QStringLiteral("Blender")));
    WindowRequests requests(*window, sourceData(), false);
    auto ask = [&] {
        QByteArray answer;
        requests.handle(
            control::encodeRequest(
                {QStringLiteral("focus"), {}, {}, {{QStringLiteral("json"), QString()}}}),
            [&answer](const QByteArray& reply) { answer = reply; });
        EXPECT_TRUE(waitUntil([&] { return !answer.isEmpty(); }));
        const control::Answer decoded =
            control::decodeAnswer(answer).value_or(control::Answer{-1, {}, {}});
        EXPECT_EQ(decoded.exitCode, 0) << decoded.err.toStdString();
        return QJsonDocument::fromJson(decoded.out.toUtf8()).object();
    };
    QJsonObject seen = ask();
    EXPECT_TRUE(seen[u"focused"].isNull());
    EXPECT_TRUE(seen[u"watcher"].isNull()) << "the test gives no desktop watcher";

    reportFocus(QStringLiteral("blender"), QStringLiteral("scene.blend"), 0);
    seen = ask();
    EXPECT_EQ(seen[u"focused"][u"app_id"].toString(), QStringLiteral("blender"));
    EXPECT_EQ(seen[u"focused"][u"title"].toString(), QStringLiteral("scene.blend"));
    EXPECT_EQ(seen[u"profile"].toInt(), 2);
    EXPECT_TRUE(seen[u"rule"].toBool());

    reportFocus(QStringLiteral("org.gnome.Nautilus"), QStringLiteral("Home"), 0);
    seen = ask();
    EXPECT_EQ(seen[u"profile"].toInt(), 1) << "the default profile";
    EXPECT_FALSE(seen[u"rule"].toBool());
}

TEST_F(SessionServiceWindow, OnPlasmaTheWindowLoadsItsScriptIntoKWinWhoseReportsSwitchTheMouse) {
    const QString script = QStringLiteral(CORVANE_SOURCE_DIR "/packaging/kwin/corvane-focus.js");
    QDBusConnection loaderBus = daemon.connect(QStringLiteral("loader"));
    // Without KWin on the bus there is nothing to load into.
    EXPECT_FALSE(focus::KWinScriptLoader(script, loaderBus).start());

    FakeKWinScripting kwin;
    QDBusConnection kwinBus = daemon.connect(QStringLiteral("kwin"));
    ASSERT_TRUE(kwinBus.registerObject(QStringLiteral("/Scripting"), &kwin,
                                       QDBusConnection::ExportScriptableSlots));
    ASSERT_TRUE(kwinBus.registerService(QStringLiteral("org.kde.KWin")));
    extraContext = [&](WindowContext& context) {
        context.focusWatcher = [&] {
            return std::make_unique<focus::KWinScriptLoader>(script, loaderBus);
        };
    };
    launch();
    gameRule();
    ASSERT_TRUE(waitUntil([&] { return kwin.calls.size() == 3; }))
        << "KWin was asked " << kwin.calls.size() << " times";
    EXPECT_EQ(kwin.calls,
              (std::vector<QString>{QStringLiteral("unloadScript"), QStringLiteral("loadScript"),
                                    QStringLiteral("start")}));
    EXPECT_EQ(kwin.loads[0], std::make_pair(script, QStringLiteral("corvane-focus")));

    // What the script's callDBus sends when the game's window is activated, then an editor's.
    reportFocus(QStringLiteral("steam_app_730"), QStringLiteral("Counter-Strike 2"), 4001);
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 500; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    reportFocus(QStringLiteral("org.kde.kate"), QStringLiteral("notes.txt"), 4002);
    ASSERT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 1000; }, 20000))
        << "the mouse runs at " << reportRateHz(*mouse) << " Hz";
    kwinBus.unregisterService(QStringLiteral("org.kde.KWin"));
    kwinBus.unregisterObject(QStringLiteral("/Scripting"));
}

TEST_F(SessionServiceWindow, TheTrayPausesFollowingTheFocus) {
    launch();
    gameRule();
    std::vector<focus::FocusedApp> settled;
    std::vector<int> switches;
    QObject::connect(window->profileFollower(), &focus::ProfileFollower::settled,
                     [&](const focus::FocusedApp& app) { settled.push_back(app); });
    QObject::connect(window->profileFollower(), &focus::ProfileFollower::switched,
                     [&](int profile, const focus::FocusedApp&) { switches.push_back(profile); });
    QAction* pause = window->tray()->pauseAction();
    ASSERT_TRUE(pause->isCheckable());
    EXPECT_FALSE(pause->text().isEmpty());
    pause->trigger();
    reportFocus(QStringLiteral("steam_app_730"), QStringLiteral("Counter-Strike 2"), 4001);
    // The follower decides when the focus settled: paused, it asks for no switch.
    ASSERT_TRUE(waitUntil([&] { return !settled.empty(); }));
    EXPECT_TRUE(switches.empty());
    EXPECT_EQ(window->workerState().currentProfile(), 1);

    pause->trigger(); // following again
    reportFocus(QStringLiteral("firefox"), QStringLiteral("news"), 4003);
    reportFocus(QStringLiteral("steam_app_730"), QStringLiteral("Counter-Strike 2"), 4001);
    EXPECT_TRUE(waitUntil([&] { return reportRateHz(*mouse) == 500; }, 20000));
    EXPECT_EQ(switches, std::vector<int>{3});
}

TEST_F(SessionServiceWindow, AWirelessMousesBatteryIsInTheTrayTipAndALowOneIsToldOncePerDischarge) {
    FakeNotifications notifications;
    QDBusConnection desktop = daemon.connect(QStringLiteral("notifications"));
    ASSERT_TRUE(desktop.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                       &notifications, QDBusConnection::ExportScriptableSlots));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.Notifications")));
    vm::ReceiverConfig config;
    config.productId = 0xC0A2;
    config.mouse.deviceId = "CVM1";
    config.mouse.batteryLevel = 40;
    auto receiver = bus->addReceiver(config);
    launch(false);
    ASSERT_TRUE(waitUntil([&] { return window->tray()->tip().contains(QStringLiteral("40%")); }))
        << window->tray()->tip().toStdString();

    // The mouse tells its level as it links again; a relink also reads it with GetInfo,
    // so the mouse's own reading follows.
    const int kCharging = 1;
    auto battery = [&](int level, int status) {
        receiver->setBattery(std::uint8_t(status), std::uint8_t(level));
        receiver->sendConnectionNotice(0x01, std::uint8_t(level), std::uint8_t(status));
        EXPECT_TRUE(waitUntil([&] {
            return window->tray()->tip().contains(QStringLiteral(" %1%").arg(level));
        })) << "at "
            << level << "%: " << window->tray()->tip().toStdString();
    };
    battery(30, 0);
    battery(15, 0);
    battery(12, 0);
    battery(5, 0);
    battery(4, 0);
    battery(6, kCharging);
    EXPECT_TRUE(window->tray()->tip().contains(QStringLiteral("charging")));
    battery(14, 0); // a new discharge, already below 15 %
    ASSERT_TRUE(waitUntil([&] { return notifications.summaries.size() >= 3; }));
    EXPECT_EQ(notifications.summaries,
              (std::vector<QString>{QStringLiteral("Mouse battery at 15%"),
                                    QStringLiteral("Mouse battery at 5%"),
                                    QStringLiteral("Mouse battery at 14%")}));
    EXPECT_EQ(notifications.icons[1], QStringLiteral("battery-caution"));
    desktop.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
}

} // namespace
} // namespace corvane::app::test

#include "SessionServiceWindowTest.moc"
