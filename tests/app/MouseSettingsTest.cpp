#include "TestSupport.h"

#include "app/desktop/DesktopIntegration.h"
#include "app/desktop/MouseSettings.h"
#include "app/desktop/ProgramLauncher.h"
#include "app/desktop/UrlOpener.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace corvane::app;
using corvane::app::test::MemoryUserValues;

namespace {

// Programs "installed" in /usr/bin; records what would start.
class RecordingLauncher : public ProgramLauncher {
public:
    explicit RecordingLauncher(std::set<QString> installed) : installed(std::move(installed)) {}

    QString findExecutable(const QString& name) const override {
        return installed.count(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        started.push_back(QStringList{program} + arguments);
        return startSucceeds;
    }

    std::set<QString> installed;
    std::vector<QStringList> started;
    bool startSucceeds = true;
};

class RecordingOpener : public UrlOpener {
public:
    bool openUrl(const QString& url) override {
        opened << url;
        return true;
    }
    QStringList opened;
};

TEST(MouseSettings, DesktopOfTheSessionComesFirst) {
    const struct {
        std::set<QString> installed;
        const char* desktop;
        QStringList started; // empty: nothing
    } cases[] = {
        {{}, "GNOME", {}},
        {{"gnome-control-center"}, "GNOME", {"/usr/bin/gnome-control-center", "mouse"}},
        {{"gnome-control-center"}, "KDE", {"/usr/bin/gnome-control-center", "mouse"}},
        {{"gnome-control-center", "systemsettings"},
         "KDE",
         {"/usr/bin/systemsettings", "kcm_mouse"}},
        {{"gnome-control-center", "systemsettings"},
         "ubuntu:GNOME",
         {"/usr/bin/gnome-control-center", "mouse"}},
        {{"gnome-control-center", "systemsettings"},
         "",
         {"/usr/bin/gnome-control-center", "mouse"}},
        {{"systemsettings5"}, "KDE", {"/usr/bin/systemsettings5", "kcm_mouse"}},
        {{"xfce4-mouse-settings", "gnome-control-center"},
         "XFCE",
         {"/usr/bin/xfce4-mouse-settings"}},
        {{"cinnamon-settings"}, "X-Cinnamon", {"/usr/bin/cinnamon-settings", "mouse"}},
    };
    for (const auto& c : cases) {
        RecordingLauncher launcher(c.installed);
        const bool opened = openMouseSettings(QString::fromLatin1(c.desktop), launcher);
        EXPECT_EQ(opened, !c.started.isEmpty()) << c.desktop;
        if (c.started.isEmpty()) {
            EXPECT_TRUE(launcher.started.empty()) << c.desktop;
        } else {
            ASSERT_EQ(launcher.started.size(), 1u) << c.desktop;
            EXPECT_EQ(launcher.started[0], c.started) << c.desktop;
        }
    }
}

TEST(MouseSettings, StartFailureIsReported) {
    RecordingLauncher launcher({"gnome-control-center"});
    launcher.startSucceeds = false;
    EXPECT_FALSE(openMouseSettings(QStringLiteral("GNOME"), launcher));
    EXPECT_EQ(launcher.started.size(), 1u);
}

TEST(DesktopIntegration, RoutesEachCallToItsPiece) {
    QTemporaryDir dir;
    MemoryUserValues values;
    RecordingLauncher launcher({"systemsettings"});
    RecordingOpener opener;
    DesktopIntegration desktop(Autostart(autostartEntryPathFor(dir.path(), QStringLiteral("M")),
                                         QStringLiteral("M"), QStringLiteral("/usr/bin/corvane"),
                                         values),
                               launcher, opener, QStringLiteral("KDE"));
    SystemIntegration& integration = desktop;

    EXPECT_TRUE(integration.setAutorun(true));
    EXPECT_TRUE(integration.isAutorunEnabled());
    EXPECT_TRUE(integration.setAutorun(false));
    EXPECT_FALSE(integration.isAutorunEnabled());
    EXPECT_EQ(values.values[QStringLiteral("autorun_minimize")], QStringLiteral("0"));

    EXPECT_TRUE(integration.openMouseControlPanel());
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], (QStringList{QStringLiteral("/usr/bin/systemsettings"),
                                                QStringLiteral("kcm_mouse")}));

    EXPECT_FALSE(integration.openUrl(QString()));
    EXPECT_FALSE(integration.openUrl(QStringLiteral("  ")));
    EXPECT_TRUE(integration.openUrl(QStringLiteral("https://example.org/help")));
    EXPECT_EQ(opener.opened, QStringList{QStringLiteral("https://example.org/help")});

    EXPECT_FALSE(integration.deleteTree(dir.path() + QStringLiteral("/absent")));
}

} // namespace
