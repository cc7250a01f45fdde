// The dialog base: hook order, modal runs, timers, numbered messages, control registry.

#include "UiTest.h"

#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

namespace corvane::ui::test {
namespace {

using Hooks = std::vector<std::string>;

TEST(DialogTest, CreateRunsInitDialogThenInitUiThenUiSizeWithTheClientRect) {
    RecordingDialog d;
    ASSERT_TRUE(d.create(nullptr, "Hooks", StylePopup, 0, QRect(10, 20, 300, 200)));
    EXPECT_EQ(d.hooks, (Hooks{"OnInitDialog", "InitUI", "UISize"}));
    EXPECT_EQ(d.layouts, (std::vector<QRect>{QRect(0, 0, 300, 200), QRect(0, 0, 300, 200)}));

    // Showing does not lay out again; a real resize does, with the new client rect.
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.hooks.size(), 3u);
    d.resize(400, 250);
    EXPECT_EQ(d.hooks.back(), "UISize");
    EXPECT_EQ(d.layouts.back(), QRect(0, 0, 400, 250));

    EXPECT_FALSE(d.create(nullptr, "Twice", StylePopup, 0, QRect(0, 0, 10, 10)));
}

// A window whose OnInitDialog forgets the base still gets its controls.
TEST(DialogTest, ControlsAreBuiltEvenWhenOnInitDialogSkipsTheBase) {
    struct Forgetful : RecordingDialog {
        bool OnInitDialog() override {
            hooks.push_back("OnInitDialog");
            return true;
        }
    } d;
    d.build = [](RecordingDialog& r) { r.add<PushButton>(5, QRect(0, 0, 50, 20)); };
    d.create(nullptr, "Forgetful", StylePopup, 0, QRect(0, 0, 200, 100));
    EXPECT_EQ(d.hooks, (Hooks{"OnInitDialog", "InitUI", "UISize"}));
    EXPECT_NE(d.find<PushButton>(5), nullptr);
}

TEST(DialogTest, ControlIdsAreUniqueAndFoundByKind) {
    RecordingDialog d;
    d.build = [](RecordingDialog& r) {
        EXPECT_NE(r.add<PushButton>(7, QRect(0, 0, 50, 20)), nullptr);
        EXPECT_EQ(r.add<StaticText>(7, QRect(0, 30, 50, 20)), nullptr);
        EXPECT_NE(r.add<StaticText>(0, QRect(0, 30, 50, 20)), nullptr);
        EXPECT_NE(r.add<StaticText>(0, QRect(0, 60, 50, 20)), nullptr);
    };
    d.create(nullptr, "Ids", StylePopup, 0, QRect(0, 0, 200, 100));
    EXPECT_NE(d.find<PushButton>(7), nullptr);
    EXPECT_EQ(d.find<StaticText>(7), nullptr);
    EXPECT_EQ(d.control(8), nullptr);
}

// A window can be destroyed and created again: its old controls go, their ids are free.
TEST(DialogTest, RecreatedWindowBuildsFreshControls) {
    RecordingDialog d;
    d.build = [](RecordingDialog& r) {
        EXPECT_NE(r.add<PushButton>(3, QRect(0, 0, 50, 20)), nullptr);
    };
    d.create(nullptr, "Again", StylePopup, 0, QRect(0, 0, 200, 100));
    QPointer<Control> first = d.control(3);
    d.DestroyWindow();
    EXPECT_FALSE(d.isCreated());
    EXPECT_EQ(d.control(3), first) << "controls stay readable after DestroyWindow";

    ASSERT_TRUE(d.create(nullptr, "Again", StylePopup, 0, QRect(0, 0, 200, 100)));
    ASSERT_NE(d.control(3), nullptr);
    EXPECT_NE(d.control(3), first.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST(DialogTest, WindowsListsCreatedTopLevelWindowsByTitle) {
    RecordingDialog a, b;
    a.create(nullptr, "MessageBox", StylePopup, 0, QRect(0, 0, 100, 100));
    b.create(nullptr, "WaitDlg", StylePopup, 0, QRect(0, 0, 100, 100));
    auto titled = [](const QString& title) {
        int n = 0;
        for (Dialog* w : Dialog::windows())
            n += w->title() == title;
        return n;
    };
    EXPECT_EQ(titled("MessageBox"), 1);
    a.DestroyWindow();
    EXPECT_EQ(titled("MessageBox"), 0);
    EXPECT_EQ(titled("WaitDlg"), 1);
}

// How a modal run is ended, and the result runModal gives back.
struct ModalCase {
    const char* name;
    std::function<void(RecordingDialog&)> end;
    int expected;
};

void PrintTo(const ModalCase& c, std::ostream* os) {
    *os << c.name;
}

class ModalTest : public ::testing::TestWithParam<ModalCase> {};

TEST_P(ModalTest, RunReturnsOnlyWhenTheWindowIsDestroyedWithTheResult) {
    RecordingDialog d;
    d.create(nullptr, "Modal", StylePopup, 0, QRect(100, 100, 200, 120));
    bool ended = false;
    // Hiding the window does not end the run; only destroying it does.
    QTimer::singleShot(0, &d, [&] { d.hide(); });
    QTimer::singleShot(30, &d, [&] {
        ended = true;
        GetParam().end(d);
    });
    const int result = d.runModal();
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, GetParam().expected);
    EXPECT_FALSE(d.isCreated());
    EXPECT_FALSE(d.isRunningModal());
    EXPECT_EQ(d.runModal(), 0) << "a destroyed window cannot run";
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ModalTest,
    ::testing::Values(
        ModalCase{"EndFirst", [](RecordingDialog& d) { d.endModal(ResultFirst); }, 1},
        ModalCase{"EndSecond", [](RecordingDialog& d) { d.endModal(ResultSecond); }, 2},
        ModalCase{"Destroy", [](RecordingDialog& d) { d.DestroyWindow(); }, 2},
        ModalCase{"CloseMessage", [](RecordingDialog& d) { d.postMessage(Message::Close); }, 2},
        ModalCase{"CloseWithResult",
                  [](RecordingDialog& d) { d.postMessage(Message::Close, ResultFirst); }, 1},
        ModalCase{"CloseFromThread",
                  [](RecordingDialog& d) {
                      std::thread([&d] { d.postMessage(Message::Close, 7); }).join();
                  },
                  7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogTest, ModalRunEndedByAButtonClick) {
    RecordingDialog d;
    d.build = [](RecordingDialog& r) { r.add<PushButton>(30, QRect(10, 10, 80, 30)); };
    d.onNote = [&](const Note& n) {
        if (n.id == 30 && n.code == Notify::Click)
            d.endModal(ResultFirst);
    };
    d.create(nullptr, "Box", StylePopup, 0, QRect(100, 100, 200, 120));
    QTimer::singleShot(
        0, &d, [&] { QTest::mouseClick(d.control(30), Qt::LeftButton, {}, QPoint(40, 15)); });
    EXPECT_EQ(d.runModal(), ResultFirst);
}

// A box run over its parent blocks the parent's input until it ends.
TEST(DialogTest, ModalWindowBlocksItsParentWhileItRuns) {
    auto parent =
        showDialog([](RecordingDialog& r) { r.add<PushButton>(45, QRect(10, 10, 80, 30)); });
    RecordingDialog box;
    // Already shown before the run, as a box created visible is.
    box.create(parent.get(), "MessageBox", StylePopup | StyleVisible, 0, QRect(300, 300, 200, 100));
    QTimer::singleShot(20, &box, [&] {
        QTest::mouseClick(parent->windowHandle(), Qt::LeftButton, {}, {40, 20});
        box.endModal(ResultFirst);
    });
    EXPECT_EQ(box.runModal(), ResultFirst);
    for (const Note& n : parent->notes)
        EXPECT_NE(n.code, Notify::Click) << n;
    QTest::mouseClick(parent->windowHandle(), Qt::LeftButton, {}, {40, 20});
    EXPECT_EQ(parent->notes.back(), (Note{45, 2, 0, 0}));
}

// Deleting a window while it runs modally ends the run instead of leaving it hanging.
TEST(DialogTest, DeletingAModalWindowEndsItsRun) {
    auto* d = new RecordingDialog;
    d->create(nullptr, "Doomed", StylePopup, 0, QRect(100, 100, 200, 120));
    QTimer::singleShot(0, [d] { delete d; });
    EXPECT_EQ(d->runModal(), ResultSecond);
}

// A timer of the test's own, due after `ms`, has fired: any timer due earlier that still
// ran has fired by then too. The marker a "nothing more came" check waits for.
void waitForALaterTimer(int ms) {
    bool fired = false;
    QTimer::singleShot(ms, [&fired] { fired = true; });
    ASSERT_TRUE(waitUntil([&] { return fired; }, 60000));
}

TEST(DialogTest, TimersAreDeliveredByIdUntilStopped) {
    RecordingDialog d;
    EXPECT_FALSE(d.setTimer(1, 5)) << "no timers before the window exists";
    d.create(nullptr, "Timers", StylePopup, 0, QRect(0, 0, 100, 100));
    d.onTimer = [&](int id) {
        if (std::count(d.timers.begin(), d.timers.end(), id) == 3)
            d.stopTimer(id);
    };
    ASSERT_TRUE(d.setTimer(100, 5));
    ASSERT_TRUE(d.setTimer(200, 8));
    EXPECT_TRUE(d.isTimerRunning(100));
    ASSERT_TRUE(waitUntil([&] { return d.timers.size() == 6; }));
    EXPECT_FALSE(d.isTimerRunning(100));
    EXPECT_FALSE(d.isTimerRunning(200));
    waitForALaterTimer(4 * 8); // beyond several periods of both timers
    EXPECT_EQ(std::count(d.timers.begin(), d.timers.end(), 100), 3);
    EXPECT_EQ(std::count(d.timers.begin(), d.timers.end(), 200), 3);

    // A destroyed window's timers stop.
    d.setTimer(300, 1);
    d.DestroyWindow();
    const size_t before = d.timers.size();
    waitForALaterTimer(10);
    EXPECT_EQ(d.timers.size(), before);
}

TEST(DialogTest, MessagesPostedFromAnotherThreadArriveOnTheUiThreadInOrder) {
    RecordingDialog d;
    d.create(nullptr, "Messages", StylePopup, 0, QRect(0, 0, 100, 100));
    std::vector<bool> onUiThread;
    d.onWindowMessage = [&](const WindowMessage&) {
        onUiThread.push_back(QThread::currentThread() == qApp->thread());
    };
    std::thread worker([&d] {
        for (int i = 0; i < 50; ++i)
            d.postMessage(1692, i, -i);
    });
    worker.join();
    EXPECT_TRUE(d.messages.empty()) << "posting never delivers inline";
    ASSERT_TRUE(waitUntil([&] { return d.messages.size() == 50; }));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(d.messages[size_t(i)], (WindowMessage{1692, i, -i}));
    EXPECT_EQ(std::count(onUiThread.begin(), onUiThread.end(), true), 50);

    EXPECT_EQ(d.sendMessage(2022, 1, 2), 0);
    EXPECT_EQ(d.messages.back(), (WindowMessage{2022, 1, 2})) << "sendMessage runs at once";

    // Messages that arrive after the window was destroyed are dropped.
    d.postMessage(1694, 1, 1);
    d.DestroyWindow();
    QCoreApplication::sendPostedEvents(); // the posted message is delivered (or dropped) here
    QCoreApplication::processEvents();
    EXPECT_EQ(d.messages.size(), 51u);
}

TEST(DialogTest, WindowManagerCloseBecomesTheCloseMessage) {
    RecordingDialog d;
    d.create(nullptr, "Close", StylePopup | StyleVisible, 0, QRect(0, 0, 100, 100));
    d.close();
    ASSERT_FALSE(d.messages.empty());
    EXPECT_EQ(d.messages.back(), (WindowMessage{Message::Close, 0, 0}));
    EXPECT_FALSE(d.isCreated());
}

TEST(DialogTest, ChildStyleEmbedsTheWindowInItsParent) {
    RecordingDialog parent, child;
    parent.create(nullptr, "Parent", StylePopup, 0, QRect(0, 0, 300, 200));
    child.create(&parent, "Child", StyleChild | StyleVisible, 0, QRect(10, 10, 100, 50));
    EXPECT_FALSE(child.isWindow());
    EXPECT_EQ(child.parentWidget(), &parent);
    EXPECT_EQ(child.geometry(), QRect(10, 10, 100, 50));
    child.centre();
    EXPECT_EQ(child.geometry().center(), QRect(0, 0, 300, 200).center());
}

} // namespace
} // namespace corvane::ui::test
