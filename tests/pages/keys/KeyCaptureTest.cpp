#include "pages/PagesTest.h"
#include "pages/keys/InputEventPrinter.h"

#include "pages/keys/KeyCapture.h"
#include "ui/controls/TextField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

namespace corvane::pages {

namespace test {
namespace {

constexpr int kFieldId = 7;

InputEvent down(int vk, const char* name) {
    return {InputKind::Keyboard, 0, vk, QString::fromUtf8(name)};
}
InputEvent up(int vk, const char* name) {
    return {InputKind::Keyboard, 1, vk, QString::fromUtf8(name)};
}

// A window with a text field that has the focus, and a capture whose consumers record.
class KeyCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = showWindow([](TestWindow& w) {
            w.add<ui::TextField>(kFieldId, {10, 60, 200, 30});
        });
        field = window->find<ui::TextField>(kFieldId);
        field->setFocus();
        ASSERT_TRUE(waitUntil([&] { return field->isAncestorOf(QApplication::focusWidget()); }));
        for (int mode :
             {CaptureMode::MacroRecording, CaptureMode::KeyboardPanel, CaptureMode::MacroKeyField})
            capture.setConsumer(mode, [this, mode](const InputEvent& e) {
                events.push_back(e);
                modes.push_back(mode);
            });
    }

    // A key event as the desktop platforms deliver it: with the native scan code (an XKB
    // keycode), sent to the widget with the focus.
    void send(QEvent::Type type, int key, unsigned kernelCode, const QString& text = {},
              Qt::KeyboardModifiers modifiers = {}, bool autoRepeat = false) {
        QKeyEvent event(type, key, modifiers, kernelCode + 8, 0, 0, text, autoRepeat);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }
    void press(int key, unsigned kernelCode, const QString& text = {}) {
        send(QEvent::KeyPress, key, kernelCode, text);
    }
    void release(int key, unsigned kernelCode, const QString& text = {}) {
        send(QEvent::KeyRelease, key, kernelCode, text);
    }

    std::unique_ptr<TestWindow> window;
    ui::TextField* field = nullptr;
    KeyCapture capture;
    std::vector<InputEvent> events;
    std::vector<int> modes;
};

TEST_F(KeyCaptureTest, KeysReachTheControlsWhileNoCaptureRuns) {
    QTest::keyClicks(QApplication::focusWidget(), "ab");
    press(Qt::Key_C, 46, "c");
    EXPECT_EQ(field->text(), "abc");
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(capture.isCapturing());
}

TEST_F(KeyCaptureTest, CaptureTakesTheKeysAndTheFieldStaysUnchanged) {
    field->setText("keep");
    capture.startCapture(CaptureMode::MacroKeyField);
    press(Qt::Key_Shift, 54);
    release(Qt::Key_Shift, 54);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A); // no scan code: by Qt key
    press(Qt::Key_Enter, 96, "\r");
    release(Qt::Key_Enter, 96, "\r");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);

    EXPECT_EQ(field->text(), "keep");
    EXPECT_EQ(events,
              (std::vector<InputEvent>{down(161, "RShift"), up(161, "RShift"), down(65, "A"),
                                       up(65, "A"), down(108, "Num Enter"), up(108, "Num Enter"),
                                       down(8, "Backspace"), up(8, "Backspace")}));
    EXPECT_EQ(capture.lastVirtualKey(), 8);
    EXPECT_EQ(capture.lastKeyName(), "Backspace");

    capture.stopCapture();
    events.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    EXPECT_EQ(field->text(), "keepx") << "typing works again once the capture stopped";
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(capture.captureMode(), CaptureMode::MacroKeyField) << "the mode stays";
}

TEST_F(KeyCaptureTest, KeyboardPanelLeavesShiftCtrlAndAltToItsToggles) {
    capture.startCapture(CaptureMode::KeyboardPanel);
    press(Qt::Key_Control, 97);
    press(Qt::Key_F5, 63);
    release(Qt::Key_F5, 63);
    release(Qt::Key_Control, 97);
    press(Qt::Key_Shift, 42);
    press(Qt::Key_Alt, 56);
    press(Qt::Key_Super_L, 125);

    EXPECT_EQ(events,
              (std::vector<InputEvent>{down(116, "F5"), up(116, "F5"), down(91, "Windows")}));
    EXPECT_EQ(capture.lastVirtualKey(), 91);
    EXPECT_EQ(capture.lastKeyName(), "Windows");
    capture.clearLastKey();
    EXPECT_EQ(capture.lastVirtualKey(), 0);
    EXPECT_EQ(capture.lastKeyName(), "");
}

TEST_F(KeyCaptureTest, RecordingGetsEveryPressAndReleaseOnce) {
    capture.startCapture(CaptureMode::MacroRecording);
    press(Qt::Key_Shift, 42);
    press(Qt::Key_Exclam, 2, "!");
    // A held key repeats; X11 repeats as release and press pairs. One press it stays.
    send(QEvent::KeyRelease, Qt::Key_Exclam, 2, "!", {}, true);
    send(QEvent::KeyPress, Qt::Key_Exclam, 2, "!", {}, true);
    send(QEvent::KeyPress, Qt::Key_Exclam, 2, "!", {}, true);
    release(Qt::Key_Exclam, 2, "!");
    release(Qt::Key_Shift, 42);
    // Keypad 9 with Num Lock off.
    send(QEvent::KeyPress, Qt::Key_PageUp, 73, {}, Qt::KeypadModifier);

    EXPECT_EQ(events, (std::vector<InputEvent>{down(160, "Shift"), down(49, "!"), up(49, "!"),
                                               up(160, "Shift"), down(105, "Page Up")}));
    EXPECT_EQ(modes, std::vector<int>(5, CaptureMode::MacroRecording));
    EXPECT_EQ(capture.lastVirtualKey(), 0) << "the recorder does not touch the captured key";
    EXPECT_EQ(field->text(), "");
}

TEST_F(KeyCaptureTest, KeysWithoutACodeAreSwallowedButNotDelivered) {
    capture.startCapture(CaptureMode::MacroKeyField);
    press(Qt::Key_VolumeUp, 115);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_VolumeDown);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(capture.lastVirtualKey(), 0);
}

TEST_F(KeyCaptureTest, ShortcutsDoNotFireWhileCapturing) {
    int fired = 0;
    QShortcut shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), window.get());
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++fired; });

    // Through the platform's path, where shortcuts are looked up.
    QTest::keyClick(window->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(fired, 1) << "the shortcut works without a capture";

    capture.startCapture(CaptureMode::MacroKeyField);
    QTest::keyClick(window->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
    EXPECT_NE(std::find(events.begin(), events.end(), down(83, "S")), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), up(83, "S")), events.end());
    EXPECT_EQ(field->text(), "");
}

TEST_F(KeyCaptureTest, TokensAndModes) {
    EXPECT_EQ(capture.captureToken(), 0u);
    EXPECT_EQ(capture.captureMode(), CaptureMode::None);
    const quint64 first = capture.startCapture(CaptureMode::KeyboardPanel);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(capture.captureToken(), first);
    // A new start replaces the running capture and its mode.
    const quint64 second = capture.startCapture(CaptureMode::MacroKeyField);
    EXPECT_NE(second, first);
    EXPECT_EQ(capture.captureMode(), CaptureMode::MacroKeyField);
    press(Qt::Key_Shift, 42);
    EXPECT_EQ(events, (std::vector<InputEvent>{down(160, "Shift")})) << "mode 12 takes Shift";
    capture.stopCapture();
    EXPECT_EQ(capture.captureToken(), 0u);
    EXPECT_FALSE(capture.isCapturing());
}

TEST_F(KeyCaptureTest, AConsumerMayStopTheCaptureFromInsideItsCall) {
    capture.setConsumer(CaptureMode::MacroKeyField, [this](const InputEvent& e) {
        events.push_back(e);
        capture.setConsumer(CaptureMode::MacroKeyField, {});
        capture.stopCapture();
    });
    capture.startCapture(CaptureMode::MacroKeyField);
    press(Qt::Key_Q, 16, "q");
    press(Qt::Key_W, 17, "w");
    EXPECT_EQ(events, (std::vector<InputEvent>{down(81, "Q")}));
    EXPECT_EQ(field->text(), "w");
}

TEST_F(KeyCaptureTest, ModeWithoutConsumerStillSwallowsKeys) {
    capture.startCapture(42);
    press(Qt::Key_Q, 16, "q");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(field->text(), "");
}

} // namespace
} // namespace test
} // namespace corvane::pages
