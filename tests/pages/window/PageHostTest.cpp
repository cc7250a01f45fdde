// The page host as the main window gives it to the pages: control ids that cannot collide,
// notifications by the page's own numbers, the current device and the mouse's values,
// queued work reaching the virtual mouse, answered message boxes, the one key capture.
#include "window/PageWindowTest.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/PageHost.h"
#include "pages/keys/KeyCapture.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/PushButton.h"

namespace corvane::pages::test {
namespace {

// A page that makes a caption and a button under the numbers it is given, writes down
// what reaches it, and on a click of its button does what a page does: store, queue,
// saving wait window.
class ProbePage : public Page {
public:
    explicit ProbePage(PageHost& host) : host(host) {}

    void createControls(PageControls& made) override {
        controls = &made;
        made.add<ui::StaticText>(kCaption, QRect(20, 20, 200, 30));
        made.add<ui::PushButton>(kButton, QRect(20, 60, 120, 36))->setText(QStringLiteral("500Hz"));
    }
    int onMessage(int local, int code, int, int) override {
        messages.emplace_back(local, code);
        if (local == kButton && code == ui::Notify::Click) {
            store::ProfileDatabase::instance().setSetting(host.currentProfile(), u"report_rate", 2);
            host.queueTask(protocol::DeviceTask::SendReportRate);
            host.showSaveWait();
        }
        return 0;
    }
    void applyTexts() override { ++textsApplied; }

    static constexpr int kCaption = 194;
    static constexpr int kButton = 120;
    PageHost& host;
    PageControls* controls = nullptr;
    std::vector<std::pair<int, int>> messages;
    int textsApplied = 0;
};

using PageHostTest = PageWindowTest;

TEST_F(PageHostTest, PagesUsingTheSameNumbersGetControlsOfTheirOwn) {
    ProbePage* lighting = nullptr;
    ProbePage* settings = nullptr;
    startWindow([&](app::DeviceMainDlg& w) {
        auto first = std::make_unique<ProbePage>(w.pageHost());
        auto second = std::make_unique<ProbePage>(w.pageHost());
        lighting = first.get();
        settings = second.get();
        w.addPage(PageSlot::Lighting, std::move(first));
        w.addPage(PageSlot::DeviceSettings, std::move(second));
    });

    ui::Control* caption = lighting->controls->control(ProbePage::kCaption);
    ASSERT_NE(caption, nullptr);
    ASSERT_NE(settings->controls->control(ProbePage::kCaption), nullptr);
    EXPECT_NE(caption, settings->controls->control(ProbePage::kCaption));
    EXPECT_EQ(caption->parentWidget(), window->pageContainer(PageSlot::Lighting));
    EXPECT_EQ(caption->id(), pageControlId(PageSlot::Lighting, ProbePage::kCaption));

    showPage(PageSlot::DeviceSettings);
    click(PageSlot::DeviceSettings, ProbePage::kButton);
    EXPECT_TRUE(lighting->messages.empty());
    ASSERT_FALSE(settings->messages.empty());
    EXPECT_EQ(settings->messages.back(), std::pair(ProbePage::kButton, int(ui::Notify::Click)));
}

TEST_F(PageHostTest, GivesTheCurrentDeviceProfileAndWhatTheMouseReported) {
    devices.sensorCode = 38;
    devices.reportRateClass = 0x40;
    ProbePage* page = startWithPage<ProbePage>(PageSlot::Performance);
    PageHost& host = page->host;

    EXPECT_EQ(host.currentDeviceType(), 1);
    EXPECT_GT(host.currentProfile(), 0);
    EXPECT_EQ(host.currentProfile(), store::ProfileDatabase::instance().getCurrentProfile());
    EXPECT_TRUE(host.deviceDetails().hasLighting) << "the M1 description is loaded";
    EXPECT_TRUE(host.deviceDetails().showSaveTips);
    EXPECT_EQ(host.deviceValues().sensorId, 38);
    EXPECT_EQ(host.deviceValues().rateCapability, 7);
    EXPECT_TRUE(host.connectionShown());
    EXPECT_TRUE(host.idlePolling());
    EXPECT_EQ(host.deviceCatalog().devices.size(), 2u);
    EXPECT_EQ(host.mainWindow(), window.get());
}

TEST_F(PageHostTest, AClickStoresQueuesAndReachesTheMouse) {
    startWithPage<ProbePage>(PageSlot::Performance);
    showPage(PageSlot::Performance);
    ASSERT_NE(setting(u"report_rate"), QStringLiteral("2"));

    click(PageSlot::Performance, ProbePage::kButton);
    EXPECT_EQ(setting(u"report_rate"), QStringLiteral("2"));
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::SendReportRate});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 500);
}

TEST_F(PageHostTest, MessageBoxesKeyCaptureAndLanguageComeFromTheWindow) {
    ProbePage* first = nullptr;
    ProbePage* second = nullptr;
    startWindow([&](app::DeviceMainDlg& w) {
        auto a = std::make_unique<ProbePage>(w.pageHost());
        auto b = std::make_unique<ProbePage>(w.pageHost());
        first = a.get();
        second = b.get();
        w.addPage(PageSlot::Buttons, std::move(a));
        w.addPage(PageSlot::Macros, std::move(b));
    });

    messageBoxes.answer = 2;
    EXPECT_EQ(
        first->host.showMessage(QStringLiteral("text"), QStringLiteral("title"), MessageTwoButtons),
        2);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].title, QStringLiteral("title"));
    EXPECT_EQ(messageBoxes.shown[0].style, MessageTwoButtons);

    EXPECT_EQ(&first->host.keyCapture(), &second->host.keyCapture()) << "one capture";

    first->textsApplied = second->textsApplied = 0;
    first->host.setLanguage(2052);
    EXPECT_EQ(memoryValues.values[QStringLiteral("LCID")], QStringLiteral("2052"));
    EXPECT_EQ(i18n::currentLcid(), 2052);
    EXPECT_EQ(first->textsApplied, 1);
    EXPECT_EQ(second->textsApplied, 1);
    i18n::setCurrentLcid(1033);
}

} // namespace
} // namespace corvane::pages::test
