// The about window and the plain message box and saving wait window.
#include "WindowTest.h"

#include "app/AboutDlg.h"
#include "app/MainWindowIds.h"
#include "app/PlainMessageBoxes.h"
#include "ui/PushButton.h"
#include "ui/StaticText.h"
#include "virtualmouse/VirtualMouse.h"

#include <QTest>
#include <QTimer>

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

// Runs `inside` once the window titled `title` is shown (it runs modally meanwhile).
void whenShown(const QString& title, std::function<void(ui::Dialog&)> inside) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, title, inside] {
        if (ui::Dialog* window = windowTitled(title)) {
            timer->stop();
            timer->deleteLater();
            inside(*window);
        }
    });
    timer->start(5);
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
    whenShown(QStringLiteral("About Window"), [&](ui::Dialog& about) {
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
    bool opened = false;
    whenShown(QStringLiteral("About Window"), [&](ui::Dialog& about) {
        opened = true;
        about.endModal(ui::ResultFirst);
    });
    click(MainControl::Logo);
    EXPECT_TRUE(opened);
}

TEST(PlainMessageBoxesTest, ButtonsGiveTheirResults) {
    PlainMessageBoxes boxes;
    struct Case {
        int style;
        int button;
        int result;
    };
    for (const Case& c : {Case{MessageStyle::OneButton, 1, 1}, Case{MessageStyle::TwoButtons, 1, 1},
                          Case{MessageStyle::TwoButtons, 2, 2}}) {
        QStringList texts;
        whenShown(QStringLiteral("MessageBox"), [&](ui::Dialog& box) {
            texts = textsOf(&box);
            EXPECT_EQ(box.find<ui::PushButton>(2) != nullptr, c.style == MessageStyle::TwoButtons);
            auto* button = box.find<ui::PushButton>(c.button);
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        });
        EXPECT_EQ(
            boxes.showMessage(QStringLiteral("body"), nullptr, QStringLiteral("title"), c.style),
            c.result);
        EXPECT_TRUE(texts.contains(QStringLiteral("body")));
        EXPECT_TRUE(texts.contains(QStringLiteral("title")));
    }
}

TEST(PlainMessageBoxesTest, SavingWaitWindowHidesTwoSecondsAfterTheLastStart) {
    ui::Dialog parent;
    parent.create(nullptr, QStringLiteral("parent"), ui::StylePopup | ui::StyleVisible, 0,
                  QRect(0, 0, 800, 600));
    PlainMessageBoxes boxes;
    boxes.startSaveWait(&parent);
    EXPECT_TRUE(boxes.isSaveWaitShown());
    spin(1200);
    boxes.startSaveWait(&parent); // a second change restarts the two seconds
    spin(1200);
    EXPECT_TRUE(boxes.isSaveWaitShown());
    EXPECT_TRUE(waitUntil([&] { return !boxes.isSaveWaitShown(); }, 2000));
    boxes.startSaveWait(&parent);
    boxes.hideSaveWait();
    EXPECT_FALSE(boxes.isSaveWaitShown());
}

} // namespace
} // namespace corvane::app::test
