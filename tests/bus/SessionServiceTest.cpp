// The session-bus service on a private bus: what it publishes is what the installed
// interface file says, property changes are announced, the focus and the rules arrive.
#include "bus/SessionService.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileRecord.h"
#include "support/PrivateBus.h"
#include "support/PropertiesRecorder.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace corvane::bus::test {
namespace {

using corvane::test::callAndWait;
using corvane::test::PrivateBus;

// The interface's members as comparable lines ("method AddRule in i, in s",
// "property Mice aa{sv} read"), annotations and argument names left out.
std::set<QString> membersOf(const QString& xml, const QString& interface) {
    std::set<QString> members;
    QXmlStreamReader reader(xml);
    bool inside = false;
    QString current;
    int args = 0;
    auto flush = [&] {
        if (!current.isEmpty())
            members.insert(current);
        current.clear();
        args = 0;
    };
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.name().toString();
        const QXmlStreamAttributes at = reader.attributes();
        if (reader.isStartElement() && name == u"interface") {
            inside = at.value(QStringLiteral("name")) == interface;
        } else if (reader.isEndElement() && name == u"interface") {
            flush();
            inside = false;
        } else if (inside && reader.isStartElement()) {
            if (name == u"method" || name == u"signal") {
                flush();
                current = name + u' ' + at.value(QStringLiteral("name")).toString();
            } else if (name == u"arg") {
                const QString direction = at.hasAttribute(QStringLiteral("direction"))
                                              ? at.value(QStringLiteral("direction")).toString()
                                              : QStringLiteral("in");
                current += (args++ == 0 ? QStringLiteral(" ") : QStringLiteral(", ")) + direction +
                           u' ' + at.value(QStringLiteral("type")).toString();
            } else if (name == u"property") {
                flush();
                members.insert(QStringLiteral("property %1 %2 %3")
                                   .arg(at.value(QStringLiteral("name")),
                                        at.value(QStringLiteral("type")),
                                        at.value(QStringLiteral("access"))));
            }
        }
    }
    flush();
    return members;
}

class SessionServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateBus::installed())
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup installs it)";
        ASSERT_TRUE(daemon.start());
        serviceBus = daemon.connect(QStringLiteral("service"));
        client = daemon.connect(QStringLiteral("client"));
        ASSERT_TRUE(serviceBus.isConnected() && client.isConnected());
        SessionService::Hooks hooks;
        hooks.reportFocus = [this](const focus::FocusedApp& app) { reported.push_back(app); };
        hooks.rulesStore = [this] {
            return storeOpen ? &store::ProfileDatabase::instance() : nullptr;
        };
        service = std::make_unique<SessionService>(std::move(hooks));
        ASSERT_TRUE(service->publish(serviceBus)) << service->lastError().toStdString();
    }
    void TearDown() override {
        service.reset();
        if (storeOpen)
            store::ProfileDatabase::instance().close();
    }

    QDBusMessage call(const QString& method, const QVariantList& args = {},
                      const QString& interface = SessionService::kInterface) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            SessionService::kServiceName, SessionService::kObjectPath, interface, method);
        message.setArguments(args);
        return callAndWait(client, message);
    }

    QVariant property(const QString& name) {
        const QDBusMessage answer = call(QStringLiteral("Get"), {SessionService::kInterface, name},
                                         QStringLiteral("org.freedesktop.DBus.Properties"));
        return answer.type() == QDBusMessage::ReplyMessage
                   ? answer.arguments().value(0).value<QDBusVariant>().variant()
                   : QVariant();
    }

    void openStore() {
        ASSERT_TRUE(QDir(dataDir.path()).mkpath(QStringLiteral("db")));
        store::ProfileDatabase& db = store::ProfileDatabase::instance();
        ASSERT_TRUE(db.openForDevice(dataDir.path() + u'/', QStringLiteral("mouse")));
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(db.createProfile(store::ProfileRecord{}), i + 1);
        storeOpen = true;
    }

    PrivateBus daemon;
    QDBusConnection serviceBus{QString()};
    QDBusConnection client{QString()};
    std::unique_ptr<SessionService> service;
    std::vector<focus::FocusedApp> reported;
    QTemporaryDir dataDir;
    bool storeOpen = false;
};

TEST_F(SessionServiceTest, WhatTheBusIntrospectsIsWhatTheInstalledInterfaceFileSays) {
    QFile file(QStringLiteral(CORVANE_INTERFACE_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::set<QString> published =
        membersOf(QString::fromUtf8(file.readAll()), SessionService::kInterface);
    ASSERT_TRUE(published.contains(QStringLiteral("method ReportFocus in s, in s, in i")));

    const QDBusMessage answer = call(QStringLiteral("Introspect"), {},
                                     QStringLiteral("org.freedesktop.DBus.Introspectable"));
    ASSERT_EQ(answer.type(), QDBusMessage::ReplyMessage) << answer.errorMessage().toStdString();
    const std::set<QString> live =
        membersOf(answer.arguments().value(0).toString(), SessionService::kInterface);
    EXPECT_EQ(live, published);
}

TEST_F(SessionServiceTest, AChangeIsAnnouncedWithTheChangedPropertiesOnly) {
    corvane::test::PropertiesRecorder recorder;
    ASSERT_TRUE(recorder.listen(client, SessionService::kServiceName, SessionService::kObjectPath));

    ServiceState state;
    state.mice = {{1, QStringLiteral("Corvane M1"), QStringLiteral("receiver"), true, true}};
    state.batteryLevel = 80;
    state.connection = QStringLiteral("receiver");
    state.activeProfile = 1;
    state.activeDpiStage = 1;
    state.activeDpi = 800;
    service->setState(state);
    ASSERT_TRUE(
        corvane::test::waitUntil([&] { return recorder.changes.size() == 1; }, PrivateBus::kHang));
    EXPECT_EQ(recorder.changes[0].interface, SessionService::kInterface);
    EXPECT_EQ(recorder.changes[0].changed.keys().size(), 6) << "Charging stayed false";

    state.activeDpiStage = 2;
    state.activeDpi = 1600;
    service->setState(state);
    service->setState(state); // the same again: nothing to announce
    state.charging = true;
    service->setState(state);
    ASSERT_TRUE(
        corvane::test::waitUntil([&] { return recorder.changes.size() >= 3; }, PrivateBus::kHang));
    EXPECT_EQ(recorder.changes[1].changed, (QVariantMap{{QStringLiteral("ActiveDpiStage"), 2},
                                                        {QStringLiteral("ActiveDpi"), 1600}}));
    EXPECT_EQ(recorder.changes[2].changed, (QVariantMap{{QStringLiteral("Charging"), true}}));

    // A reader asks for the values themselves.
    EXPECT_EQ(property(QStringLiteral("ActiveDpiStage")), QVariant(2));
    EXPECT_EQ(property(QStringLiteral("Connection")), QVariant(QStringLiteral("receiver")));
    MouseList mice;
    property(QStringLiteral("Mice")).value<QDBusArgument>() >> mice;
    ASSERT_EQ(mice.size(), 1);
    EXPECT_EQ(mice[0].value(QStringLiteral("name")), QVariant(QStringLiteral("Corvane M1")));
    EXPECT_EQ(mice[0].value(QStringLiteral("linked")), QVariant(true));
}

TEST_F(SessionServiceTest, AReportedFocusReachesTheFollowerAndAForeignPidIsNotTrusted) {
    ASSERT_EQ(call(QStringLiteral("ReportFocus"),
                   {QStringLiteral("steam_app_730"), QStringLiteral("Counter-Strike 2"), 4001})
                  .type(),
              QDBusMessage::ReplyMessage);
    ASSERT_EQ(
        call(QStringLiteral("ReportFocus"), {QStringLiteral("org.gnome.TextEditor"), QString(), -7})
            .type(),
        QDBusMessage::ReplyMessage);
    // A call with the wrong argument types is refused by the bus layer, not guessed at.
    EXPECT_EQ(
        call(QStringLiteral("ReportFocus"), {QStringLiteral("x"), QString(), QStringLiteral("1")})
            .type(),
        QDBusMessage::ErrorMessage);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].appId, QStringLiteral("steam_app_730"));
    EXPECT_EQ(reported[0].title, QStringLiteral("Counter-Strike 2"));
    EXPECT_EQ(reported[0].pid, 4001);
    EXPECT_EQ(reported[1].pid, 0) << "a negative process id is no process";
}

TEST_F(SessionServiceTest, RulesAreKeptInTheMousesStoreAndBadRequestsAreRefused) {
    // No mouse, no store: refused with a reason.
    QDBusMessage answer = call(QStringLiteral("AddRule"), {3, QStringLiteral("blender")});
    EXPECT_EQ(answer.errorName(), QStringLiteral("org.freedesktop.DBus.Error.Failed"));

    openStore();
    struct Case {
        const char* method;
        QVariantList args;
        const char* error; // "" for success
    };
    const Case cases[] = {
        {"AddRule", {3, QStringLiteral("blender")}, ""},
        {"AddRule", {2, QStringLiteral("steam_app_730")}, ""},
        {"AddRule", {2, QStringLiteral("  Blender ")}, ""}, // moves from 3 to 2
        {"AddRule", {5, QStringLiteral("obs")}, "org.freedesktop.DBus.Error.InvalidArgs"},
        {"AddRule", {1, QStringLiteral("   ")}, "org.freedesktop.DBus.Error.InvalidArgs"},
        {"RemoveRule", {3, QStringLiteral("blender")}, "org.freedesktop.DBus.Error.InvalidArgs"},
        {"RemoveRule", {2, QStringLiteral("STEAM_APP_730")}, ""},
        {"SetDefaultProfile", {4}, ""},
        {"SetDefaultProfile", {0}, "org.freedesktop.DBus.Error.InvalidArgs"},
    };
    for (const Case& c : cases) {
        answer = call(QString::fromLatin1(c.method), c.args);
        EXPECT_EQ(answer.errorName(), QString::fromLatin1(c.error))
            << c.method << " " << answer.errorMessage().toStdString();
    }

    answer = call(QStringLiteral("ListRules"));
    ASSERT_EQ(answer.type(), QDBusMessage::ReplyMessage) << answer.errorMessage().toStdString();
    RuleList rules;
    answer.arguments().value(0).value<QDBusArgument>() >> rules;
    EXPECT_EQ(rules, (RuleList{{2, QStringLiteral("Blender")}}));
    EXPECT_EQ(answer.arguments().value(1), QVariant(4));
    QString stored;
    ASSERT_TRUE(store::ProfileDatabase::instance().getProfileApps(3, stored));
    EXPECT_EQ(stored, QString()) << "the rule moved away from profile 3";
}

} // namespace
} // namespace corvane::bus::test
