// The window against mice as hidraw shows them: a mouse this user may not open,
// removals of whichever interface carried the command collection, two clicks in the
// device list before the worker caught up, and the end of the program while work is
// still under way.
#include "WindowTest.h"

#include "app/window/MainWindowIds.h"
#include "hid/DeviceManager.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/views/DeviceList.h"
#include "virtualmouse/VirtualMouse.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

namespace corvane::app::test {
namespace {

using namespace std::chrono_literals;

constexpr int kM1 = 1;
constexpr int kM2 = 201;

const QString kNoPermission =
    QStringLiteral("Corvane has no permission to open the mouse: install the udev rule that "
                   "corvanectl udev-rule prints, see README");

std::shared_ptr<vm::WiredMouse> plugWired(vm::VirtualMouse& bus, std::uint16_t pid, const char* id,
                                          vm::CommandPlacement placement = {}) {
    vm::WiredMouseConfig mouse;
    mouse.productId = pid;
    mouse.mouse.deviceId = id;
    mouse.command.placement = placement;
    return bus.addWiredMouse(mouse);
}

void clickEntry(DeviceMainDlg& window, int deviceType) {
    window.selectTab(TabIndex::Home); // the list is on the home page
    auto* list = window.find<ui::DeviceList>(MainControl::DeviceList);
    for (int i = 0; i < list->count(); ++i) {
        if (list->entryType(i) == deviceType) {
            QTest::mouseClick(list, Qt::LeftButton, {}, list->entryRect(i).center());
            return;
        }
    }
    ADD_FAILURE() << "no entry of type " << deviceType;
}

using HidrawWindow = WindowTest;

TEST_F(HidrawWindow, AMouseItMayNotOpenIsNamedForWhatItIs) {
    auto mouse = plugWired(*bus, 0xC0A1, "CVM1");
    mouse->failOpen(vm::InterfaceKind::Command); // no udev rule: root's node
    startWindow();
    waitForStart();

    ASSERT_TRUE(waitUntil([&] { return textOf(MainControl::BannerText) == kNoPermission; }));
    EXPECT_EQ(textOf(MainControl::DeviceState), kNoPermission);
    EXPECT_TRUE(shown(MainControl::HomePage));
    window->applyTexts();
    EXPECT_EQ(textOf(MainControl::BannerText), kNoPermission) << "a new language keeps it";

    // With the rule installed the mouse is plugged in again.
    mouse->failOpen(vm::InterfaceKind::Command, false);
    window->queueTask(protocol::DeviceTask::DeviceArrived);
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    waitForWorker();
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(51));
    EXPECT_EQ(textOf(MainControl::BannerText), englishText(56));
}

TEST_F(HidrawWindow, NothingAttachedIsNoDeviceNotAPermissionProblem) {
    plugWired(*bus, 0xBEEF, "CVM1")->failOpen(vm::InterfaceKind::Command); // not ours
    startWindow();
    waitForStart();
    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(50));
    EXPECT_EQ(textOf(MainControl::BannerText), englishText(56));
}

// The command collection on interface 0 beside the mouse, or on interface 1 beside the
// keyboard: pulling the mouse out is followed either way.
TEST_F(HidrawWindow, ARemovalOfTheInterfaceCarryingTheCommandsIsFollowed) {
    watchVirtualHotplug = true;
    startWindow();
    waitForStart();
    for (const vm::CommandPlacement placement :
         {vm::CommandPlacement::WithMouse, vm::CommandPlacement::WithKeyboard}) {
        SCOPED_TRACE(static_cast<int>(placement));
        auto mouse = plugWired(*bus, 0xC0A1, "CVM1", placement);
        ASSERT_NE(mouse->interfaceNumber(vm::InterfaceKind::Command), 2);
        ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }, 20000))
            << "the arrival of a shared node";

        mouse->unplug();
        ASSERT_TRUE(waitUntil([&] { return !window->connectionShown(); }, 20000))
            << "the removal was not followed";
        waitForWorker();
        EXPECT_EQ(textOf(MainControl::DeviceState), englishText(50));
        EXPECT_TRUE(shown(MainControl::HomePage));
        EXPECT_FALSE(window->worker()->state().idlePolling());
    }
}

// B, then A again while the worker is still busy: list and worker end on A.
TEST_F(HidrawWindow, TwoClicksBeforeTheWorkerCaughtUpEndOnTheSecond) {
    auto first = plugWired(*bus, 0xC0A1, "CVM1");
    auto second = plugWired(*bus, 0xC0B1, "CVM2");
    startWindow();
    waitForStart();
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));
    protocol::DeviceWorker& worker = *window->worker();
    ASSERT_EQ(worker.state().currentDeviceType(), kM1);

    first->delayNextAnswers(1, 400ms); // the worker waits for this answer meanwhile
    window->queueTask(protocol::DeviceTask::SendPower);
    ASSERT_TRUE(waitUntil([&] { return worker.queuedTasks() == 0; }));
    const std::uint64_t busy = worker.tasksTaken();
    clickEntry(*window, kM2);
    clickEntry(*window, kM1);
    ASSERT_EQ(worker.tasksTaken(), busy) << "both clicks came while the worker was busy";

    // SendPower, then each choice with the read-back of a mouse chosen anew.
    ASSERT_TRUE(waitUntil([&] { return worker.tasksTaken() >= busy + 5; }));
    waitForWorker();
    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    EXPECT_EQ(list->selectedType(), kM1);
    EXPECT_EQ(worker.state().currentDeviceType(), kM1);
    EXPECT_EQ(hid::DeviceManager::instance().currentType(), kM1);
    EXPECT_EQ(memoryValues.values[QStringLiteral("DeviceType")], QStringLiteral("1"));
}

// The program's end, with the process's own end after it (static destruction
// included), in a process of its own: corvane_exit_check runs the window as the program
// does and prints "ending" when the end begins. Under AddressSanitizer a use after free
// or a leak makes its exit code non-zero.
struct Ending {
    int exitCode = -1;
    QByteArray errors;
    bool reachedTheEnd = false; // it printed "ending" before it closed the window
};

Ending runExitCheck(const char* scenario) {
    QTemporaryDir data;
    QProcess process;
    process.start(QStringLiteral(CORVANE_EXIT_CHECK), {QString::fromLatin1(scenario), data.path()});
    Ending ending;
    if (!process.waitForStarted())
        return ending;
    // The deadline only ends a hang; the process bounds its own end (exit code 5 when
    // the worker outlived its wait).
    if (!process.waitForFinished(120000))
        process.kill();
    process.waitForFinished(10000);
    ending.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    ending.errors = process.readAllStandardError();
    ending.reachedTheEnd = process.readAllStandardOutput().contains("ending");
    return ending;
}

TEST_F(HidrawWindow, TheProcessEndsCleanlyWithAMouseAttachedAndANoticeHeld) {
    const Ending ending = runExitCheck("held-notice");
    EXPECT_EQ(ending.exitCode, 0) << ending.errors.toStdString();
    EXPECT_FALSE(ending.errors.contains("Sanitizer")) << ending.errors.toStdString();
}

// Each GetInfo of the scan would wait 1.5 s for its answer, longer than the 900 ms the
// process gives its worker at the end: exit code 0 (not 5) means the end cut the scan
// short.
TEST_F(HidrawWindow, TheProcessEndsDuringAScanOfMiceThatNeverAnswerWithoutWaitingForThem) {
    const Ending ending = runExitCheck("silent-mice");
    EXPECT_TRUE(ending.reachedTheEnd);
    EXPECT_EQ(ending.exitCode, 0) << "5: the worker outlived its wait\n"
                                  << ending.errors.toStdString();
    EXPECT_FALSE(ending.errors.contains("Sanitizer")) << ending.errors.toStdString();
}

} // namespace
} // namespace corvane::app::test
