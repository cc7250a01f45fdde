// The device settings and program settings pages in the main window: every choice
// stored where it belongs and used where it matters.
#include "window/PageWindowTest.h"

#include "app/desktop/Autostart.h"
#include "app/desktop/DesktopIntegration.h"
#include "app/desktop/ProgramLauncher.h"
#include "app/desktop/UrlOpener.h"
#include "app/start/AppState.h"
#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/settings/DeviceSettingsPage.h"
#include "pages/settings/ProgramSettingsPage.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "protocol/worker/WorkerState.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/PushButton.h"
#include "virtualmouse/MouseDevice.h"
#include "virtualmouse/WiredMouse.h"

#include <QDir>
#include <QFile>

namespace corvane::pages::test {
namespace {

constexpr PageSlot kDevice = PageSlot::DeviceSettings;
constexpr PageSlot kProgram = PageSlot::ProgramSettings;
using DS = DeviceSettingsPage;
using PS = ProgramSettingsPage;

class NoPrograms : public app::ProgramLauncher {
public:
    QString findExecutable(const QString&) const override { return {}; }
    bool startDetached(const QString&, const QStringList&) override { return false; }
};

class RecordingOpener : public app::UrlOpener {
public:
    bool openUrl(const QString& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<QString> opened;
};

class SettingsPagesTest : public PageWindowTest {
protected:
    void SetUp() override {
        PageWindowTest::SetUp();
        app::appState().supportedLanguages = {{1033, true}, {2052, true}};
        autostartPath = configDir.path() + QStringLiteral("/autostart/Corvane.desktop");
        desktop = std::make_unique<app::DesktopIntegration>(
            app::Autostart(autostartPath, QStringLiteral("Corvane"),
                           QStringLiteral("/opt/my tools/corvane"), *userValues),
            launcher, opener, QString());
        system = desktop.get();
    }
    void TearDown() override {
        PageWindowTest::TearDown();
        i18n::setCurrentLcid(1033);
    }

    void startWithSettingsPages() {
        startWindow([](app::DeviceMainDlg& w) {
            w.addPage(kDevice, std::make_unique<DeviceSettingsPage>(w.pageHost()));
            w.addPage(kProgram, std::make_unique<ProgramSettingsPage>(w.pageHost()));
        });
    }
    void clickWindow(int id) {
        ui::Control* target = window->control(id);
        ASSERT_NE(target, nullptr);
        ASSERT_TRUE(target->isVisible()) << "window control " << id << " is hidden";
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }
    void openProgramSettings() {
        clickWindow(40);
        ASSERT_TRUE(window->isProgramSettingsShown());
    }
    bool checked(int local) const { return find<ui::CheckBox>(kProgram, local)->isChecked(); }
    QString userValue(const char* name) { return memoryValues.values[QString::fromLatin1(name)]; }

    QTemporaryDir configDir;
    QString autostartPath;
    NoPrograms launcher;
    RecordingOpener opener;
    std::unique_ptr<app::DesktopIntegration> desktop;
};

TEST_F(SettingsPagesTest, StartWithTheSessionWritesAndRemovesTheEntryAndRulesTheMinimiseBox) {
    startWithSettingsPages();
    openProgramSettings();
    EXPECT_FALSE(checked(PS::AutorunBox));
    EXPECT_FALSE(control(kProgram, PS::MinimiseBox)->isEnabled()) << "no entry: disabled";

    click(kProgram, PS::AutorunBox);
    ASSERT_TRUE(QFile::exists(autostartPath));
    QFile entry(autostartPath);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=\"/opt/my tools/corvane\" -autorun"));
    EXPECT_TRUE(control(kProgram, PS::MinimiseBox)->isEnabled());

    click(kProgram, PS::MinimiseBox);
    EXPECT_TRUE(checked(PS::MinimiseBox));
    EXPECT_EQ(userValue("autorun_minimize"), "1");

    click(kProgram, PS::AutorunBox);
    EXPECT_FALSE(QFile::exists(autostartPath));
    EXPECT_FALSE(checked(PS::MinimiseBox));
    EXPECT_FALSE(control(kProgram, PS::MinimiseBox)->isEnabled());
    EXPECT_EQ(userValue("autorun_minimize"), "0");
    EXPECT_TRUE(tasks.empty());
}

TEST_F(SettingsPagesTest, StoredChoicesAreShownWhenThePageIsMade) {
    ASSERT_TRUE(desktop->setAutorun(true));
    memoryValues.values[QStringLiteral("autorun_minimize")] = QStringLiteral("1");
    memoryValues.values[QStringLiteral("exit_mode")] = QStringLiteral("1");
    startWithSettingsPages();
    openProgramSettings();
    EXPECT_TRUE(checked(PS::AutorunBox));
    EXPECT_TRUE(checked(PS::MinimiseBox));
    EXPECT_TRUE(control(kProgram, PS::MinimiseBox)->isEnabled());
    EXPECT_TRUE(find<ui::RadioButton>(kProgram, PS::HideToTrayRadio)->isChecked());
    EXPECT_FALSE(find<ui::RadioButton>(kProgram, PS::ExitRadio)->isChecked());
}

TEST_F(SettingsPagesTest, ExitModeIsStoredAndTheCloseButtonFollowsIt) {
    startWithSettingsPages();
    openProgramSettings();
    EXPECT_TRUE(find<ui::RadioButton>(kProgram, PS::ExitRadio)->isChecked())
        << "no stored choice: exit";

    click(kProgram, PS::HideToTrayRadio);
    EXPECT_EQ(userValue("exit_mode"), "1");
    clickWindow(38);
    EXPECT_TRUE(window->isHidden()) << "hidden to the tray";
    EXPECT_TRUE(window->worker()->isRunning());

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    click(kProgram, PS::ExitRadio);
    EXPECT_EQ(userValue("exit_mode"), "0");
    clickWindow(38);
    EXPECT_TRUE(waitUntil([&] { return !window->worker()->isRunning(); }))
        << "the program ends: its worker stops";
}

TEST_F(SettingsPagesTest, BackButtonReturnsToTheConfigurationPages) {
    startWithSettingsPages();
    openProgramSettings();
    EXPECT_TRUE(window->control(38)->isVisible());
    EXPECT_FALSE(window->control(41)->isVisible()) << "maximise hidden on the page";
    click(kProgram, PS::BackButton);
    EXPECT_FALSE(window->isProgramSettingsShown());
    EXPECT_TRUE(window->control(41)->isVisible());
    EXPECT_TRUE(window->control(48)->isVisible()) << "tab column back";
    EXPECT_FALSE(window->pageContainer(PageSlot::Buttons)->isHidden());
}

TEST_F(SettingsPagesTest, LanguageChoiceReTextsThePagesAtOnce) {
    startWithSettingsPages();
    openProgramSettings();
    auto* combo = find<ui::ComboBox>(kProgram, PS::LanguageCombo);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("简体中文"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("English"));
    EXPECT_EQ(combo->currentData(), 1033);
    EXPECT_EQ(control(kProgram, PS::LanguageLabel)->text(), englishText(600));

    pressKey(kProgram, PS::LanguageCombo, Qt::Key_Up);
    EXPECT_EQ(i18n::currentLcid(), 2052);
    EXPECT_EQ(userValue("LCID"), "2052");
    EXPECT_EQ(control(kProgram, PS::LanguageLabel)->text(), QStringLiteral("语言"));
    EXPECT_EQ(control(kDevice, DS::FirmwareTitle)->text(), i18n::lookupText(u"LAN", 551));
    EXPECT_NE(control(kDevice, DS::FirmwareTitle)->text(), englishText(551));
    EXPECT_EQ(combo->currentData(), 2052);

    // The same language again still applies every text.
    control(kProgram, PS::LanguageLabel)->setText(QString());
    pressKey(kProgram, PS::LanguageCombo, Qt::Key_Down);
    pressKey(kProgram, PS::LanguageCombo, Qt::Key_Up);
    EXPECT_EQ(control(kProgram, PS::LanguageLabel)->text(), QStringLiteral("语言"));
}

TEST_F(SettingsPagesTest, RestoreAsksAndOnlyAYesResetsTheMouse) {
    startWithSettingsPages();
    showPage(kDevice);
    protocol::WorkerState& state = window->workerState();
    ASSERT_TRUE(state.readBackDone(window->currentDeviceType()));

    messageBoxes.answer = 2;
    click(kDevice, DS::RestoreButton);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(570));
    EXPECT_EQ(messageBoxes.shown[0].style, MessageTwoButtons);
    EXPECT_TRUE(tasks.empty());
    EXPECT_TRUE(state.readBackDone(window->currentDeviceType())) << "a no keeps the record";
    waitForWorker();
    EXPECT_EQ(mouse().factoryResets(), 0) << "a no sends nothing";

    messageBoxes.answer = 1;
    const int type = window->currentDeviceType();
    // From all three places: the page, the window's restore button, the program settings.
    click(kDevice, DS::RestoreButton);
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::FactoryReset});
    EXPECT_FALSE(state.readBackDone(type)) << "the next start reads the mouse again";
    waitForWorker();
    EXPECT_EQ(mouse().factoryResets(), 1) << "the mouse took the reset";
    clickWindow(46);
    openProgramSettings();
    click(kProgram, PS::RestoreButton);
    EXPECT_EQ(tasks, std::vector<int>(3, protocol::DeviceTask::FactoryReset));
    EXPECT_EQ(messageBoxes.shown.size(), 4u);
    EXPECT_EQ(messageBoxes.saveWaits, 3);
    waitForWorker();
    EXPECT_EQ(mouse().factoryResets(), 3);
}

TEST_F(SettingsPagesTest, RestoreWithoutAUsableDeviceOnlySaysSo) {
    startWithSettingsPages();
    wiredM1->unplug();
    window->queueTask(protocol::DeviceTask::DeviceRemoved);
    ASSERT_TRUE(waitUntil([&] { return !window->connectionShown(); }));
    waitForWorker();
    tasks.clear();
    messageBoxes.shown.clear();
    openProgramSettings();
    click(kProgram, PS::RestoreButton);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(57));
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(576));
    EXPECT_TRUE(tasks.empty());
}

TEST_F(SettingsPagesTest, FirmwareButtonChecksOnlyWithAFirmwareAddress) {
    // An installation whose device files name no firmware address.
    QTemporaryDir copy;
    const QString source = QStringLiteral(CORVANE_SOURCE_DIR "/data");
    ASSERT_TRUE(QDir().mkpath(copy.path() + QStringLiteral("/device")));
    ASSERT_TRUE(QFile::copy(source + QStringLiteral("/config.xml"),
                            copy.path() + QStringLiteral("/config.xml")));
    for (const QString& name : QDir(source + QStringLiteral("/device")).entryList(QDir::Files)) {
        QFile in(source + QStringLiteral("/device/") + name);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QByteArray xml = in.readAll();
        xml.replace("<firmware url=", "<firmware_gone url=");
        QFile out(copy.path() + QStringLiteral("/device/") + name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(xml);
    }
    installation = copy.path();
    startWithSettingsPages();
    showPage(kDevice);
    EXPECT_EQ(control(kDevice, DS::FirmwareStatus)->text(), englishText(580));
    EXPECT_TRUE(control(kDevice, DS::FirmwareButton)->isEnabled());
    click(kDevice, DS::FirmwareButton);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(551));
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(580));
    EXPECT_TRUE(tasks.empty());
}

TEST_F(SettingsPagesTest, FirmwareAndUpdateButtonsQueueTheirChecks) {
    startWithSettingsPages();
    showPage(kDevice);
    click(kDevice, DS::FirmwareButton);
    openProgramSettings();
    click(kProgram, PS::UpdateButton);
    EXPECT_EQ(tasks, (std::vector<int>{protocol::DeviceTask::CheckFirmwareVersion,
                                       protocol::DeviceTask::CheckProgramVersion}));
    EXPECT_TRUE(messageBoxes.shown.empty());

    // A check that found a newer program shows it and keeps the button; one that found
    // none disables it.
    protocol::UpdateStatusView found{protocol::UpdateKind::Program, 1, QStringLiteral("1.2.0"),
                                     true};
    window->workerHost().showUpdateStatus(found);
    EXPECT_TRUE(waitUntil([&] {
        return control(kProgram, PS::VersionStatus)->text() ==
               englishText(582) + QStringLiteral(": v1.2.0");
    }));
    window->workerHost().showUpdateStatus({protocol::UpdateKind::Program, 2, {}, false});
    EXPECT_TRUE(waitUntil([&] { return !control(kProgram, PS::UpdateButton)->isEnabled(); }));
    EXPECT_EQ(control(kProgram, PS::VersionStatus)->text(), englishText(580));
    window->workerHost().showUpdateStatus(
        {protocol::UpdateKind::Firmware, 1, QStringLiteral("105"), true});
    EXPECT_TRUE(waitUntil([&] {
        return control(kDevice, DS::FirmwareStatus)->text() ==
               englishText(582) + QStringLiteral(": V1.05");
    }));
}

TEST_F(SettingsPagesTest, LinksOpenTheProductsWebAddresses) {
    startWithSettingsPages();
    openProgramSettings();
    click(kProgram, PS::WebsiteLink);
    click(kProgram, PS::FeedbackLink);
    click(kProgram, PS::QaLink);
    EXPECT_EQ(opener.opened,
              (std::vector<QString>{QStringLiteral("https://corvane.example/"),
                                    QStringLiteral("https://corvane.example/feedback"),
                                    QStringLiteral("https://corvane.example/qa")}));
    EXPECT_EQ(control(kProgram, PS::VersionLine)->text(),
              englishText(17) + QStringLiteral(": v0.1.0"));
}

} // namespace
} // namespace corvane::pages::test
