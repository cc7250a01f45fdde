// The window's side of the updates without the main window: offers, the two progress
// windows, the settings pages' status lines and buttons.
#include "pages/PagesTest.h"

#include "pages/dialogs/MessageBox.h"
#include "pages/update/UpdateFlow.h"
#include "pages/update/UpdateProcessDlg.h"
#include "pages/update/UpdateTipDlg.h"
#include "protocol/worker/DeviceTask.h"
#include "ui/controls/ProgressBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::pages::test {
namespace {

using protocol::UpdateKind;
namespace Task = protocol::DeviceTask;

struct Question {
    QString text;
    QString title;
    int style;
};

class UpdateFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = showWindow();
        UpdateFlowHooks hooks;
        hooks.ask = [this](const QString& text, const QString& title, int style) {
            questions.push_back({text, title, style});
            if (duringQuestion)
                duringQuestion();
            return answer;
        };
        hooks.queueTask = [this](int code) { queued.push_back(code); };
        hooks.firmwareUrl = [this] { return firmwareUrl; };
        flow = std::make_unique<UpdateFlow>(main.get(), std::move(hooks));
    }
    void TearDown() override { flow.reset(); }

    static QString lineOf(ui::Dialog& window, int id) { return window.control(id)->text(); }
    static int barOf(ui::Dialog& window, int id) {
        return window.find<ui::ProgressBar>(id)->position();
    }

    std::unique_ptr<TestWindow> main;
    std::unique_ptr<UpdateFlow> flow;
    std::vector<Question> questions;
    std::vector<int> queued;
    std::function<void()> duringQuestion;
    int answer = 1;
    QString firmwareUrl = QStringLiteral("https://corvane.example/firmware/m1");
};

TEST_F(UpdateFlowTest, AnAcceptedProgramOfferDownloadsWithItsProgressWindow) {
    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "New version:V1.0.2, update now?");
    EXPECT_EQ(questions[0].title, "Software update");
    EXPECT_EQ(questions[0].style, MessageTwoButtons);
    EXPECT_EQ(queued, std::vector<int>{Task::DownloadSetup});

    UpdateProcessDlg* window = flow->setupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->title(), kUpdateProcessTitle);
    EXPECT_EQ(window->size(), QSize(360, 100));
    EXPECT_EQ(window->windowModality(), Qt::WindowModal) << "the main window waits";
    EXPECT_EQ(lineOf(*window, UpdateProcessDlg::kLineId), "Downloading: 0%");

    for (int percent : {2, 8, 10, 55, 100, 145})
        flow->showSetupProgress(percent);
    EXPECT_EQ(lineOf(*window, UpdateProcessDlg::kLineId), "Downloading: 100%");
    EXPECT_EQ(barOf(*window, UpdateProcessDlg::kProgressId), 100);

    // While the download runs the window cannot be closed (nothing could cancel it).
    window->sendMessage(ui::Message::Close);
    EXPECT_TRUE(window->isCreated());
    EXPECT_FALSE(window->control(UpdateProcessDlg::kCloseId)->isVisible());
}

// With a way to cancel the download the setup window can be closed while it runs, and
// closing it cancels; the firmware window still cannot be closed while the mouse is written.
TEST_F(UpdateFlowTest, ClosingTheSetupWindowCancelsItsDownload) {
    int cancels = 0;
    UpdateFlowHooks hooks;
    hooks.ask = [](const QString&, const QString&, int) { return 1; };
    hooks.queueTask = [this](int code) { queued.push_back(code); };
    hooks.firmwareUrl = [this] { return firmwareUrl; };
    hooks.cancelSetup = [&cancels] { ++cancels; };
    flow = std::make_unique<UpdateFlow>(main.get(), std::move(hooks));

    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    UpdateProcessDlg* window = flow->setupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->control(UpdateProcessDlg::kCloseId)->isVisible());
    flow->showSetupProgress(55);
    window->sendMessage(ui::Message::Close);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(flow->setupWindow(), nullptr);
    EXPECT_FALSE(flow->isBusy(UpdateKind::Program));

    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    flow->setupFailed();
    ASSERT_NE(flow->setupWindow(), nullptr);
    flow->setupWindow()->sendMessage(ui::Message::Close);
    EXPECT_EQ(cancels, 1) << "after a failure there is nothing to cancel";

    flow->offer(UpdateKind::Firmware, QStringLiteral("106"));
    ASSERT_NE(flow->firmwareWindow(), nullptr);
    flow->firmwareWindow()->sendMessage(ui::Message::Close);
    EXPECT_NE(flow->firmwareWindow(), nullptr);
    EXPECT_TRUE(flow->isWritingFirmware());
    EXPECT_EQ(cancels, 1);
}

TEST_F(UpdateFlowTest, AFailedDownloadSaysSoAndLetsTheWindowBeClosed) {
    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    flow->showSetupProgress(55);
    flow->setupFailed();
    UpdateProcessDlg* window = flow->setupWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(lineOf(*window, UpdateProcessDlg::kLineId), "Download failed");
    EXPECT_TRUE(window->control(UpdateProcessDlg::kCloseId)->isVisible());
    window->sendMessage(ui::Message::Close);
    EXPECT_EQ(flow->setupWindow(), nullptr);
    EXPECT_FALSE(flow->isBusy(UpdateKind::Program));
}

TEST_F(UpdateFlowTest, ARefusedOfferStartsNothing) {
    answer = 2;
    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    flow->offer(UpdateKind::Firmware, QStringLiteral("106"));
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_TRUE(queued.empty());
    EXPECT_EQ(flow->setupWindow(), nullptr);
    EXPECT_EQ(flow->firmwareWindow(), nullptr);
}

TEST_F(UpdateFlowTest, ASecondOfferWhileOneIsInHandStartsNothingTwice) {
    // An offer arriving while the question is still open.
    duringQuestion = [this] {
        duringQuestion = nullptr;
        flow->offer(UpdateKind::Program, QStringLiteral("1.0.3"));
        flow->pressUpdateButton();
    };
    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(queued, std::vector<int>{Task::DownloadSetup});

    // ... and while the download runs.
    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    flow->pressUpdateButton();
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(queued, std::vector<int>{Task::DownloadSetup});

    // The same for the firmware while it is written.
    flow->offer(UpdateKind::Firmware, QStringLiteral("106"));
    flow->offer(UpdateKind::Firmware, QStringLiteral("106"));
    flow->pressFirmwareButton();
    EXPECT_EQ(queued, (std::vector<int>{Task::DownloadSetup, Task::UpgradeFirmware}));

    // After a failure the next offer is asked again and replaces the window.
    flow->setupFailed();
    UpdateProcessDlg* failed = flow->setupWindow();
    flow->offer(UpdateKind::Program, QStringLiteral("1.0.2"));
    EXPECT_EQ(queued.back(), Task::DownloadSetup);
    EXPECT_NE(flow->setupWindow(), nullptr);
    EXPECT_FALSE(flow->setupWindow()->hasFailed());
    (void)failed;
}

TEST_F(UpdateFlowTest, TheFirmwareWindowFollowsTheUpgrade) {
    flow->offer(UpdateKind::Firmware, QStringLiteral("106"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "New version:V1.06, update now?");
    EXPECT_EQ(questions[0].title, "Firmware");
    EXPECT_EQ(queued, std::vector<int>{Task::UpgradeFirmware});

    UpdateTipDlg* window = flow->firmwareWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title(), kUpdateTipTitle);
    EXPECT_EQ(window->size(), QSize(391, 130));
    EXPECT_EQ(lineOf(*window, UpdateTipDlg::kTitleId), "Firmware upgrade");
    EXPECT_EQ(window->control(UpdateTipDlg::kLineId)->geometry(), ui::ltrb(20, 60, 371, 80));
    EXPECT_EQ(window->control(UpdateTipDlg::kProgressId)->geometry(), ui::ltrb(20, 80, 371, 116));

    flow->showFirmwareProgress(590, 5);
    EXPECT_EQ(lineOf(*window, UpdateTipDlg::kLineId), "Downloading: 5%");
    flow->showFirmwareProgress(592, 64);
    EXPECT_EQ(lineOf(*window, UpdateTipDlg::kLineId), "Upgrading: 64%");
    EXPECT_EQ(barOf(*window, UpdateTipDlg::kProgressId), 64);
    window->sendMessage(ui::Message::Close);
    EXPECT_TRUE(window->isCreated()) << "not closed while the mouse is written";

    flow->showFirmwareProgress(593, 100);
    flow->endFirmwareUpgrade(true);
    EXPECT_EQ(flow->firmwareWindow(), nullptr) << "closed at the end";
}

TEST_F(UpdateFlowTest, AFailedUpgradeKeepsItsFailureLineUntilClosed) {
    flow->offer(UpdateKind::Firmware, QStringLiteral("106"));
    flow->showFirmwareProgress(592, 37);
    flow->showFirmwareProgress(594, 37);
    flow->endFirmwareUpgrade(false);
    UpdateTipDlg* window = flow->firmwareWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(lineOf(*window, UpdateTipDlg::kLineId), "Upgrade failed: 37%");
    EXPECT_TRUE(window->control(UpdateTipDlg::kCloseId)->isVisible());
    flow->showFirmwareProgress(593, 100); // nothing turns a failure into success
    EXPECT_EQ(lineOf(*window, UpdateTipDlg::kLineId), "Upgrade failed: 37%");
    window->sendMessage(ui::Message::Close);
    EXPECT_EQ(flow->firmwareWindow(), nullptr);
}

TEST_F(UpdateFlowTest, ProgressWithoutAWindowIsDropped) {
    flow->showSetupProgress(50);
    flow->showFirmwareProgress(592, 50);
    flow->endFirmwareUpgrade(true);
    flow->setupFailed();
    EXPECT_EQ(flow->setupWindow(), nullptr);
    EXPECT_EQ(flow->firmwareWindow(), nullptr);
}

TEST_F(UpdateFlowTest, StatusLinesFollowTheChecks) {
    std::vector<UpdateKind> told;
    flow->setStatusListener([&](UpdateKind kind) { told.push_back(kind); });
    const auto line = [&](UpdateKind kind) {
        const UpdateFlow::StatusLine l = flow->statusLine(kind);
        return l.text.toStdString() + (l.buttonEnabled ? " [on]" : " [off]");
    };
    EXPECT_EQ(line(UpdateKind::Program), "Up to date [on]");
    EXPECT_EQ(line(UpdateKind::Firmware), "Up to date [on]");

    const struct {
        protocol::UpdateStatusView status;
        std::string expected;
    } cases[] = {
        {{UpdateKind::Program, 1, QStringLiteral("1.0.2"), true}, "New version: v1.0.2 [on]"},
        {{UpdateKind::Program, 2, QStringLiteral("0.1.0"), false}, "Up to date [off]"},
        {{UpdateKind::Firmware, 1, QStringLiteral("106"), true}, "New version: V1.06 [on]"},
        {{UpdateKind::Firmware, 1, QStringLiteral("7"), true}, "New version: V7 [on]"},
        {{UpdateKind::Firmware, 2, QStringLiteral("105"), false}, "Up to date [off]"},
    };
    for (const auto& c : cases) {
        flow->showStatus(c.status);
        EXPECT_EQ(line(c.status.kind), c.expected);
        EXPECT_EQ(told.back(), c.status.kind);
    }
    EXPECT_EQ(told.size(), std::size(cases));
}

TEST_F(UpdateFlowTest, TheButtonsCheckForUpdates) {
    flow->pressUpdateButton();
    flow->pressFirmwareButton();
    EXPECT_EQ(queued, (std::vector<int>{Task::CheckProgramVersion, Task::CheckFirmwareVersion}));
    EXPECT_TRUE(questions.empty());

    // A device type without a firmware address: a notice, nothing queued.
    firmwareUrl.clear();
    queued.clear();
    flow->pressFirmwareButton();
    EXPECT_TRUE(queued.empty());
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Up to date");
    EXPECT_EQ(questions[0].title, "Firmware");
    EXPECT_EQ(questions[0].style, MessageOneButton);
}

} // namespace
} // namespace corvane::pages::test
