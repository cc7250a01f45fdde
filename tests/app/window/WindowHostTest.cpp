// The device worker's host: visible work goes to the UI thread in order and is never
// waited for; questions are answered on the worker's thread.
#include "WindowTest.h"

#include "app/desktop/ProgramLauncher.h"
#include "app/frame/BatteryIndicator.h"
#include "app/window/MainWindowIds.h"
#include "app/window/WindowHost.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/views/DeviceList.h"
#include "ui/views/TabControl.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

namespace corvane::app::test {
namespace {

// A UI side that writes down each call with the thread it came on.
class RecordingSide : public protocol::WorkerHost {
public:
    QString profileWord() override { return note("profileWord"), QString(); }
    int storedDeviceType() override { return note("storedDeviceType"), 0; }
    void storeDeviceType(int) override { note("storeDeviceType"); }
    void showDeviceState(const protocol::DeviceStateView& v) override {
        note("state " + std::to_string(v.connectionText));
    }
    void showDeviceDetails(int type, const catalog::DeviceDetails&) override {
        note("details " + std::to_string(type));
    }
    void closePopups() override { note("closePopups"); }
    void refreshPages(unsigned pages) override { note("pages " + std::to_string(pages)); }
    void showProfileName(const QString& t) override { note("profile " + t.toStdString()); }
    void showVersion(const protocol::VersionView& v) override {
        note("version " + std::to_string(v.firmwareRelease));
    }
    void showReceiverVersion(const QString& t) override { note("receiver " + t.toStdString()); }
    void showBattery(int type, int level, int status) override {
        note("battery " + std::to_string(type) + " " + std::to_string(level) + " " +
             std::to_string(status));
    }
    void showConnectionText(int id) override { note("text " + std::to_string(id)); }
    void setDeviceState(int type, int mode, int online) override {
        note("device " + std::to_string(type) + " " + std::to_string(mode) + " " +
             std::to_string(online));
    }
    void showNoDeviceView() override { note("noDevice"); }
    void showConfigurationPages() override { note("pagesShown"); }
    void macroRecorderUnlinked() override { note("unlinked"); }
    void showStageCount(int n) override { note("stages " + std::to_string(n)); }
    void showActiveStage(int s, int dpi, bool popup) override {
        note("active " + std::to_string(s) + " " + std::to_string(dpi) + " " +
             std::to_string(popup));
    }
    void showDpiStages(const protocol::DpiStagesView& s) override {
        note("dpiStages " + std::to_string(s.count));
    }
    void showUpdateStatus(const protocol::UpdateStatusView& s) override {
        note("updateStatus " + std::to_string(s.state) + " " + s.latest.toStdString());
    }
    void offerUpdate(protocol::UpdateKind kind, const QString& latest) override {
        note("offer " + std::to_string(int(kind)) + " " + latest.toStdString());
    }
    void showSetupProgress(int percent) override { note("setup " + std::to_string(percent)); }
    void setupFailed() override { note("setupFailed"); }
    bool startSetup(const QString&) override { return note("startSetup"), false; }
    void showFirmwareProgress(int textId, int percent) override {
        note("firmware " + std::to_string(textId) + " " + std::to_string(percent));
    }
    void endFirmwareUpgrade(bool succeeded) override {
        note("firmwareEnd " + std::to_string(succeeded));
    }

    std::vector<std::string> calls;
    bool allOnUiThread = true;

private:
    void note(const std::string& call) {
        allOnUiThread = allOnUiThread && QThread::currentThread() == qApp->thread();
        calls.push_back(call);
    }
};

// Every visible call of the interface once, as the worker would make them.
void callEverything(protocol::WorkerHost& host, int round) {
    protocol::DeviceStateView view;
    view.connectionText = 50 + round % 3;
    host.showDeviceState(view);
    host.showDeviceDetails(round, {});
    host.closePopups();
    host.refreshPages(protocol::Page::Buttons);
    host.showProfileName(QStringLiteral("P%1").arg(round));
    host.showVersion({round, {}});
    host.showReceiverVersion(QStringLiteral("105"));
    host.showBattery(1, round, 0);
    host.showConnectionText(51);
    host.setDeviceState(1, 1, 0);
    host.showNoDeviceView();
    host.showConfigurationPages();
    host.macroRecorderUnlinked();
    host.showStageCount(4);
    host.showActiveStage(2, 1600, true);
    host.showDpiStages({});
    host.showUpdateStatus({protocol::UpdateKind::Program, 1, QStringLiteral("1.0.%1").arg(round)});
    host.offerUpdate(protocol::UpdateKind::Firmware, QStringLiteral("106"));
    host.showSetupProgress(round % 101);
    host.setupFailed();
    host.showFirmwareProgress(592, round % 101);
    host.endFirmwareUpgrade(round % 2 == 0);
}

TEST(WindowHost, HandsVisibleWorkToTheUiThreadInOrderWithoutWaiting) {
    RecordingSide side;
    QObject window;
    MemoryUserValues values;
    WindowHost host(side, &window, values);

    constexpr int kRounds = 50;
    // The UI thread does not run its event loop while the worker calls: a host that
    // waited for it would never let this thread finish.
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        for (int round = 0; round < kRounds; ++round)
            callEverything(host, round);
        finished = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!finished && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(finished) << "the worker waited for the UI thread";
    worker.join();
    EXPECT_TRUE(side.calls.empty()) << "nothing runs before the UI thread takes it";

    RecordingSide expected;
    for (int round = 0; round < kRounds; ++round)
        callEverything(expected, round);
    ASSERT_TRUE(waitUntil([&] { return side.calls.size() == expected.calls.size(); }));
    EXPECT_EQ(side.calls, expected.calls);
    EXPECT_TRUE(side.allOnUiThread);
}

TEST(WindowHost, AnswersQuestionsOnTheCallingThreadFromData) {
    RecordingSide side;
    QObject window;
    MemoryUserValues values;
    values.values[QStringLiteral("DeviceType")] = QStringLiteral("201");
    WindowHost host(side, &window, values);
    i18n::setProgramFolder(sourceData());
    i18n::setCurrentLcid(1033);

    int stored = 0;
    QString word;
    std::thread worker([&] {
        stored = host.storedDeviceType();
        host.storeDeviceType(1);
        word = host.profileWord();
    });
    worker.join(); // no event loop needed
    EXPECT_EQ(stored, 201);
    EXPECT_EQ(values.values[QStringLiteral("DeviceType")], QStringLiteral("1"));
    EXPECT_EQ(word, englishText(61));
    deliverPosted();
    EXPECT_TRUE(side.calls.empty());
}

// The setup is started on the worker's thread; only a setup that started ends the
// program, and that on the UI thread.
TEST(WindowHost, EndsTheProgramOnlyWhenTheSetupStarted) {
    struct Launcher : ProgramLauncher {
        QString findExecutable(const QString&) const override { return {}; }
        bool startDetached(const QString& program, const QStringList&) override {
            started.push_back(program);
            return starts;
        }
        std::vector<QString> started;
        bool starts = false;
    } launcher;
    RecordingSide side;
    QObject window;
    MemoryUserValues values;
    WindowHost host(side, &window, values);
    int ends = 0;
    bool endedOnUiThread = false;
    host.setSetupStarter(&launcher, [&] {
        ++ends;
        endedOnUiThread = QThread::currentThread() == qApp->thread();
    });

    bool first = true;
    bool second = false;
    std::thread worker([&] {
        first = host.startSetup(QStringLiteral("/tmp/a"));
        launcher.starts = true;
        second = host.startSetup(QStringLiteral("/tmp/b"));
    });
    worker.join();
    EXPECT_FALSE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(launcher.started, (std::vector<QString>{"/tmp/a", "/tmp/b"}));
    EXPECT_EQ(ends, 0) << "not before the UI thread takes it";
    ASSERT_TRUE(waitUntil([&] { return ends > 0; }));
    deliverPosted();
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(endedOnUiThread);
    EXPECT_TRUE(side.calls.empty());
}

TEST(WindowHost, DropsWorkForAWindowThatIsGone) {
    RecordingSide side;
    MemoryUserValues values;
    auto window = std::make_unique<QObject>();
    WindowHost host(side, window.get(), values);
    host.showConnectionText(51);
    window.reset();
    deliverPosted();
    EXPECT_TRUE(side.calls.empty());
}

using WorkerWhileClicking = WindowTest;

// The worker refreshes the window while the user clicks tabs and devices: every
// refresh arrives, the last one is what the window shows, nothing crashes.
TEST_F(WorkerWhileClicking, NoRefreshIsLostAndTheLastOneStands) {
    std::vector<std::string> log;
    RecordingPage* buttons = nullptr;
    startWindow([&](DeviceMainDlg& w) {
        auto page = std::make_unique<RecordingPage>(log, "buttons");
        buttons = page.get();
        w.addPage(PageSlot::Buttons, std::move(page));
    });
    waitForStart();
    const int reloadsBefore = buttons->reloads;

    constexpr int kRounds = 301;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        protocol::WorkerHost& host = window->workerHost();
        for (int round = 1; round <= kRounds; ++round) {
            protocol::DeviceStateView view;
            view.attached = {{1, round % 2, 1, 0x100 + round}};
            view.selectedType = 1;
            view.connectionText = round % 2 ? 52 : 51;
            view.pagesShown = round % 5 != 0;
            host.showDeviceState(view);
            host.showBattery(1, round % 100 + 1, round % 2);
            host.refreshPages(protocol::Page::Buttons);
            if (round % 20 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        done = true;
    });

    auto* tabs = window->find<ui::TabControl>(MainControl::Tabs);
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    int clicks = 0;
    while (!done || clicks < 40) {
        const int item = clicks % 3 == 0 ? TabItem::Performance : TabItem::Macros;
        if (!tabs->isHidden())
            QTest::mouseClick(tabs, Qt::LeftButton, {},
                              tabs->itemRect(tabs->indexOfItem(item)).center());
        else if (!list->isHidden() && list->count() > 0)
            QTest::mouseClick(list, Qt::LeftButton, {}, list->entryRect(1).center());
        QCoreApplication::processEvents();
        ++clicks;
    }
    worker.join();
    ASSERT_TRUE(waitUntil([&] { return buttons->reloads - reloadsBefore == kRounds; }))
        << "reloads: " << buttons->reloads - reloadsBefore;
    deliverPosted();

    // The window shows the last round.
    const bool lastWireless = kRounds % 2 == 1;
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(lastWireless ? 52 : 51));
    EXPECT_EQ(shown(MainControl::Tabs), kRounds % 5 != 0);
    auto* battery = window->find<BatteryIndicator>(MainControl::Battery);
    EXPECT_EQ(battery->level(), kRounds % 100 + 1);
    EXPECT_EQ(battery->isCharging(), lastWireless);
    EXPECT_TRUE(list->isOnline(1));
}

} // namespace
} // namespace corvane::app::test
