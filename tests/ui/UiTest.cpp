#include "UiTest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include "support/OffscreenApplication.h"
#include "support/WaitUntil.h"

namespace corvane::ui::test {
namespace {

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new corvane::test::OffscreenApplication("ui_tests"));

} // namespace

int RecordingDialog::OnWindowMessage(int message, int wParam, int lParam) {
    hooks.push_back("OnWindowMessage");
    messages.push_back({message, wParam, lParam});
    if (onWindowMessage)
        onWindowMessage(messages.back());
    return Dialog::OnWindowMessage(message, wParam, lParam);
}

bool RecordingDialog::OnInitDialog() {
    hooks.push_back("OnInitDialog");
    return Dialog::OnInitDialog();
}

void RecordingDialog::InitUI(const QRect& client) {
    hooks.push_back("InitUI");
    layouts.push_back(client);
    if (build)
        build(*this);
}

void RecordingDialog::UISize(const QRect& client) {
    hooks.push_back("UISize");
    layouts.push_back(client);
}

int RecordingDialog::OnMessage(int controlId, int code, int p1, int p2) {
    notes.push_back({controlId, code, p1, p2});
    if (onNote)
        onNote(notes.back());
    return 0;
}

void RecordingDialog::OnTimer(int timerId) {
    timers.push_back(timerId);
    if (onTimer)
        onTimer(timerId);
}

void RecordingDialog::DestroyWindow() {
    hooks.push_back("DestroyWindow");
    Dialog::DestroyWindow();
}

std::unique_ptr<RecordingDialog> showDialog(std::function<void(RecordingDialog&)> build,
                                            QSize size) {
    auto dialog = std::make_unique<RecordingDialog>();
    dialog->build = std::move(build);
    dialog->create(nullptr, QStringLiteral("Test"), StylePopup | StyleVisible, 0,
                   QRect(QPoint(50, 50), size));
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    // Activation gives the first control the focus; tests start after that settled.
    dialog->notes.clear();
    return dialog;
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    return corvane::test::waitUntil(pred, timeoutMs);
}

} // namespace corvane::ui::test
