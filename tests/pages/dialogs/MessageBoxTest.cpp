#include "pages/PagesTest.h"

#include "pages/dialogs/MessageBox.h"
#include "ui/controls/PushButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace corvane::pages::test {
namespace {

int openBoxes() {
    int n = 0;
    for (ui::Dialog* window : ui::Dialog::windows())
        n += window->title() == QLatin1String(kMessageBoxTitle);
    return n;
}

void click(ui::Dialog& box, int buttonId) {
    ui::Control* button = box.control(buttonId);
    ASSERT_NE(button, nullptr) << "button " << buttonId;
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// How a box is answered, and what showMessage returns.
struct AnswerCase {
    const char* name;
    int style;
    std::function<void(ui::Dialog&)> answer;
    int expected;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

// On a loaded machine the focus may arrive a moment later; the deadline only ends a hang.
void waitForFocus(QWidget* widget) {
    waitUntil([widget] { return QApplication::focusWidget() == widget; }, 60000);
}

class MessageAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(MessageAnswerTest, ShowMessageReturnsTheAnswerAndRemovesTheBox) {
    auto main = showWindow();
    const auto answered = whenModal(kMessageBoxTitle, [&](ui::Dialog& box) {
        GetParam().answer(box);
        // An answer that did not take (a failed assertion inside it) fails the test
        // instead of leaving the box running for ever.
        QTimer::singleShot(5000, &box, [&box] {
            if (box.isRunningModal())
                box.close();
        });
    });
    const int result =
        showMessage(QStringLiteral("Body"), main.get(), QStringLiteral("Title"), GetParam().style);
    EXPECT_TRUE(answered.ran());
    EXPECT_EQ(result, GetParam().expected);
    EXPECT_EQ(openBoxes(), 0) << "the box is gone when showMessage returns";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageAnswerTest,
    ::testing::Values(AnswerCase{"NoticeButton", MessageOneButton,
                                 [](ui::Dialog& b) { click(b, CUIMessageBox::kFirstButtonId); }, 1},
                      AnswerCase{"QuestionFirst", MessageTwoButtons,
                                 [](ui::Dialog& b) { click(b, CUIMessageBox::kFirstButtonId); }, 1},
                      AnswerCase{"QuestionSecond", MessageTwoButtons,
                                 [](ui::Dialog& b) { click(b, CUIMessageBox::kSecondButtonId); },
                                 2},
                      // What the main window does when the device state changes: Close with 2.
                      AnswerCase{"QuestionClosedFromOutside", MessageTwoButtons,
                                 [](ui::Dialog& b) { b.postMessage(ui::Message::Close, 2); }, 2},
                      AnswerCase{"NoticeClosedFromOutside", MessageOneButton,
                                 [](ui::Dialog& b) { b.postMessage(ui::Message::Close, 2); }, 2},
                      AnswerCase{"ClosedByTheWindowManager", MessageTwoButtons,
                                 [](ui::Dialog& b) { b.close(); }, 2},
                      AnswerCase{"Escape", MessageTwoButtons,
                                 [](ui::Dialog& b) { QTest::keyClick(&b, Qt::Key_Escape); }, 2},
                      AnswerCase{"EnterPressesTheFirstButton", MessageTwoButtons,
                                 [](ui::Dialog& b) {
                                     waitForFocus(b.control(CUIMessageBox::kFirstButtonId));
                                     ASSERT_EQ(QApplication::focusWidget(),
                                               b.control(CUIMessageBox::kFirstButtonId));
                                     QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                                 },
                                 1},
                      AnswerCase{"UnknownStyleHasNoButtons", 1,
                                 [](ui::Dialog& b) {
                                     EXPECT_EQ(b.control(CUIMessageBox::kFirstButtonId), nullptr);
                                     EXPECT_EQ(b.control(CUIMessageBox::kSecondButtonId), nullptr);
                                     b.postMessage(ui::Message::Close, 2);
                                 },
                                 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxTest, QuestionLayoutTextsAndPlaceOverTheParent) {
    auto main = showWindow({}, {100, 100, 800, 600});
    const auto checked = whenModal(kMessageBoxTitle, [&](ui::Dialog& box) {
        EXPECT_EQ(box.size(), QSize(CUIMessageBox::kWidth, CUIMessageBox::kHeight));
        EXPECT_EQ(box.frameGeometry().center(), main->frameGeometry().center());
        EXPECT_TRUE(box.testAttribute(Qt::WA_TranslucentBackground)) << "layered";
        EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            << "above its owner only, not above every program";
        EXPECT_TRUE(box.windowFlags().testFlag(Qt::Tool)) << "no task bar entry";
        EXPECT_EQ(box.parentWidget(), main.get());
        EXPECT_EQ(box.windowModality(), Qt::WindowModal) << "blocks the window that asked";

        EXPECT_EQ(box.control(CUIMessageBox::kTitleId)->text(), "Delete it?");
        EXPECT_EQ(box.control(CUIMessageBox::kTitleId)->geometry(), ui::ltrb(20, 15, 410, 45));
        EXPECT_EQ(box.control(CUIMessageBox::kTextId)->text(), "It cannot be undone.");
        EXPECT_EQ(box.control(CUIMessageBox::kTextId)->geometry(), ui::ltrb(20, 50, 410, 180));
        // Two buttons of 100 pixels, 20 pixels either side of the centre (215).
        ui::Control* first = box.control(CUIMessageBox::kFirstButtonId);
        ui::Control* second = box.control(CUIMessageBox::kSecondButtonId);
        EXPECT_EQ(first->geometry(), ui::ltrb(95, 180, 195, 216));
        EXPECT_EQ(second->geometry(), ui::ltrb(235, 180, 335, 216));
        EXPECT_EQ(first->text(), "Go ahead");
        EXPECT_EQ(second->text(), "Hold on");
        box.postMessage(ui::Message::Close, 2);
    });
    showMessage(QStringLiteral("It cannot be undone."), main.get(), QStringLiteral("Delete it?"),
                MessageTwoButtons);
    EXPECT_TRUE(checked.ran());
}

TEST(MessageBoxTest, NoticeHasOneWideButton) {
    auto main = showWindow();
    const auto checked = whenModal(kMessageBoxTitle, [&](ui::Dialog& box) {
        ui::Control* button = box.control(CUIMessageBox::kFirstButtonId);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), ui::ltrb(60, 180, 370, 216));
        EXPECT_EQ(button->text(), "Understood");
        EXPECT_EQ(box.control(CUIMessageBox::kSecondButtonId), nullptr);
        box.postMessage(ui::Message::Close, 2);
    });
    showMessage(QStringLiteral("Done."), main.get(), QStringLiteral("Notice"), MessageOneButton);
    EXPECT_TRUE(checked.ran());
}

// A click on the parent while the box runs reaches nothing: the box is modal over it.
TEST(MessageBoxTest, ParentTakesNoInputWhileTheBoxRuns) {
    int clicks = 0;
    auto main = showWindow([&](TestWindow& w) { w.add<ui::PushButton>(45, {10, 10, 80, 30}); });
    main->onNote = [&](int id, int code) { clicks += id == 45 && code == ui::Notify::Click; };
    const auto clicked = whenModal(kMessageBoxTitle, [&](ui::Dialog& box) {
        QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {}, {40, 20});
        box.postMessage(ui::Message::Close, 2);
    });
    showMessage(QStringLiteral("Wait"), main.get(), QStringLiteral("Title"), MessageOneButton);
    ASSERT_TRUE(clicked.ran()) << "the click on the parent happened while the box ran";
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {}, {40, 20});
    EXPECT_EQ(clicks, 1) << "the parent works again once the box is gone";
}

// The window that asked may go away while the box is open (the program ends); the call
// still returns, with the answer that changes nothing.
TEST(MessageBoxTest, ParentDestroyedWhileTheBoxRunsAnswersTwo) {
    auto main = showWindow();
    const auto destroyed = whenModal(kMessageBoxTitle, [&](ui::Dialog&) { main.reset(); });
    EXPECT_EQ(
        showMessage(QStringLiteral("Body"), main.get(), QStringLiteral("Title"), MessageTwoButtons),
        2);
    EXPECT_TRUE(destroyed.ran());
    EXPECT_EQ(openBoxes(), 0);
}

TEST(MessageBoxTest, BoxWithoutParentStillRunsModally) {
    const auto answered = whenModal(
        kMessageBoxTitle, [](ui::Dialog& box) { click(box, CUIMessageBox::kFirstButtonId); });
    EXPECT_EQ(
        showMessage(QStringLiteral("Body"), nullptr, QStringLiteral("Title"), MessageTwoButtons),
        1);
    EXPECT_TRUE(answered.ran());
}

// The helper the box tests rely on: a window that never came fails the test when the
// answer goes out of scope, instead of skipping the checks inside it.
TEST(WhenModal, AWindowThatNeverCameFailsTheTest) {
    EXPECT_NONFATAL_FAILURE({ const auto never = whenModal("Nobody", [](ui::Dialog&) {}); },
                            "no modal window titled Nobody");
}

} // namespace
} // namespace corvane::pages::test
