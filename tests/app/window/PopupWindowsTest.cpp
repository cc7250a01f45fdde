// The about window and the program's message boxes and saving wait window.
#include "WindowTest.h"

#include "app/frame/AboutDlg.h"
#include "app/window/MainWindowIds.h"
#include "app/window/PageMessageBoxes.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/dialogs/SaveWaitDlg.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "virtualmouse/VirtualMouse.h"

#include <QTest>

namespace corvane::app::test {
namespace {

ui::Dialog* windowTitled(const QString& title) {
    for (ui::Dialog* window : ui::Dialog::windows()) {
        if (window->title() == title && window->isVisible())
            return window;
    }
    return nullptr;
}

QStringList textsOf(const QWidget* window) {
    QStringList texts;
    for (const ui::StaticText* text : window->findChildren<ui::StaticText*>())
        texts << text->text();
    return texts;
}

using PopupWindows = WindowTest;

TEST_F(PopupWindows, AboutShowsTheWiredMouseFirmwareAndClosesWithItsButton) {
    vm::WiredMouseConfig mouse;
    mouse.productId = 0xC0A1;
    mouse.mouse.deviceId = "CVM1";
    mouse.releaseNumber = 0x0105;
    auto wired = bus->addWiredMouse(mouse);
    startWindow();
    waitForStart();
    ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }));

    QStringList texts;
    const auto fromTheMenu = whenModal(QStringLiteral("About Window"), [&](ui::Dialog& about) {
        texts = textsOf(&about);
        auto* close = about.find<ui::PushButton>(AboutDlg::kCloseButton);
        QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    });
    window->sendMessage(ui::Message::Command, MainMessage::AboutCommand);
    EXPECT_TRUE(texts.contains(englishText(16) + QStringLiteral(": v1.05")))
        << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(englishText(2)));
    EXPECT_EQ(windowTitled(QStringLiteral("About Window")), nullptr);

    // The logo opens it too.
    const auto fromTheLogo = whenModal(QStringLiteral("About Window"),
                                       [&](ui::Dialog& about) { about.endModal(ui::ResultFirst); });
    click(MainControl::Logo);
    EXPECT_TRUE(fromTheLogo.ran());

    // Escape closes it as its close button does.
    bool escaped = false;
    const auto byEscape = whenModal(QStringLiteral("About Window"), [&](ui::Dialog& about) {
        about.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return about.isActiveWindow(); }));
        QTest::keyClick(&about, Qt::Key_Escape);
        escaped = !about.isRunningModal();
        if (!escaped)
            about.endModal(ui::ResultFirst);
    });
    click(MainControl::Logo);
    EXPECT_TRUE(byEscape.ran());
    EXPECT_TRUE(escaped);
}

// The program's boxes are the page layer's: the style picks the buttons and the answer
// comes back from the button pressed.
TEST(PageMessageBoxesTest, ShowsThePageMessageBoxAndGivesItsAnswer) {
    PageMessageBoxes boxes;
    struct Case {
        int style;
        int button;
        int answer;
    };
    for (const Case& c :
         {Case{pages::MessageOneButton, pages::CUIMessageBox::kFirstButtonId, 1},
          Case{pages::MessageTwoButtons, pages::CUIMessageBox::kFirstButtonId, 1},
          Case{pages::MessageTwoButtons, pages::CUIMessageBox::kSecondButtonId, 2}}) {
        QStringList texts;
        bool hasSecond = false;
        const auto box =
            whenModal(QString::fromLatin1(pages::kMessageBoxTitle), [&](ui::Dialog& box) {
                texts = textsOf(&box);
                hasSecond =
                    box.find<ui::PushButton>(pages::CUIMessageBox::kSecondButtonId) != nullptr;
                auto* button = box.find<ui::PushButton>(c.button);
                ASSERT_NE(button, nullptr);
                QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            });
        EXPECT_EQ(
            boxes.showMessage(QStringLiteral("body"), nullptr, QStringLiteral("title"), c.style),
            c.answer);
        EXPECT_TRUE(texts.contains(QStringLiteral("body")));
        EXPECT_TRUE(texts.contains(QStringLiteral("title")));
        EXPECT_EQ(hasSecond, c.style == pages::MessageTwoButtons);
    }
}

TEST(PageMessageBoxesTest, SavingWaitWindowOnlyWhenAskedAndHiddenOnRequest) {
    ui::Dialog mainWindow;
    mainWindow.create(nullptr, QStringLiteral("main"), ui::StylePopup | ui::StyleVisible, 0,
                      QRect(0, 0, 800, 600));
    PageMessageBoxes boxes;
    EXPECT_FALSE(boxes.showSaveWait(&mainWindow, false));
    EXPECT_EQ(boxes.saveWaitWindow(), nullptr);
    boxes.hideSaveWait(); // nothing to hide yet

    EXPECT_TRUE(boxes.showSaveWait(&mainWindow, true));
    ASSERT_NE(boxes.saveWaitWindow(), nullptr);
    EXPECT_TRUE(boxes.saveWaitWindow()->isVisible());
    boxes.hideSaveWait();
    EXPECT_FALSE(boxes.saveWaitWindow()->isVisible());
    EXPECT_TRUE(boxes.showSaveWait(&mainWindow, true)); // the same window again
    EXPECT_TRUE(boxes.saveWaitWindow()->isVisible());
    boxes.hideSaveWait();
}

} // namespace
} // namespace corvane::app::test
