// The window publishes its session-bus service on a private bus: a press of the mouse's
// DPI button is announced as a property change, and a focus reported over the bus moves
// the mouse to the rule's profile (judged by the report rate it runs at: profile 3 at
// 500 Hz, the default profile 1 at 1000 Hz).
#include "WindowTest.h"

#include "app/window/WindowRequests.h"
#include "bus/SessionService.h"
#include "control/requests/Request.h"
#include "focus/ProfileFollower.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "support/PrivateBus.h"
#include "support/PropertiesRecorder.h"
#include "virtualmouse/VirtualMouse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::app::test {
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
        vm::WiredMouseConfig m1;
        m1.productId = 0xC0A1;
        m1.mouse.deviceId = "CVM1";
        mouse = bus->addWiredMouse(m1);
        adjustContext = [this](WindowContext& context) {
            context.serviceBus.publish = true;
            context.serviceBus.address = daemon.address();
        };
        startWindow();
        waitForStart();
        ASSERT_TRUE(
            recorder.listen(client, SessionService::kServiceName, SessionService::kObjectPath));
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
};

TEST_F(SessionServiceWindow, ThePressOfTheDpiButtonIsAnnouncedWithTheStageTheMouseIsOn) {
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
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    for (int profile = 1; profile <= 4; ++profile) {
        const QString rate = profile == 3 ? QStringLiteral("2") : QStringLiteral("1");
        ASSERT_TRUE(db.setSetting(profile, u"report_rate", rate));
        ASSERT_TRUE(db.setSetting(profile, u"report_rate_wireless", rate));
    }
    ASSERT_TRUE(db.setProfileApps(3, QStringLiteral("steam_app_730")));
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

TEST_F(SessionServiceWindow, CorvanectlFocusTellsWhatWasReportedAndTheProfileItsRuleNames) {
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

} // namespace
} // namespace corvane::app::test
