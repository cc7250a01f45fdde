// The macro editor's key dialog with the keyboard alone: in its key field Escape is a key
// like any other; once the field holds a key, Tab leaves it and Escape closes the dialog.
#include "pages/PagesTest.h"

#include "pages/macros/MacroKeyDlg.h"
#include "ui/controls/TextField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <gtest/gtest.h>

namespace corvane::pages::test {
namespace {

// A key as the desktop delivers it (with its XKB keycode), to the widget with the focus.
// The release goes where the press went, even when the press closed the dialog.
void typeKey(int key, unsigned kernelCode, const QString& text = {}) {
    QPointer<QWidget> target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, {}, kernelCode + 8, 0, 0, text);
        if (target)
            QApplication::sendEvent(target, &event);
    }
}

TEST(MacroKeyDialog, EscapeIsCapturedInTheKeyFieldAndClosesTheDialogOutsideIt) {
    auto owner = showWindow();
    bool stillOpenAfterFirstEscape = false;
    QString captured;
    const auto answered = whenModal(kMacroKeyDlgTitle, [&](ui::Dialog& dialog) {
        dialog.activateWindow();
        QWidget* field = dialog.control(MacroKeyDlg::KeyField);
        auto inField = [&] {
            return field->hasFocus() || field->isAncestorOf(QApplication::focusWidget());
        };
        ASSERT_TRUE(waitUntil(inField));
        typeKey(Qt::Key_Escape, 1, QStringLiteral("\x1b"));
        captured = dialog.find<ui::TextField>(MacroKeyDlg::KeyField)->text();
        stillOpenAfterFirstEscape = dialog.isRunningModal();
        typeKey(Qt::Key_Tab, 15, QStringLiteral("\t"));
        ASSERT_TRUE(waitUntil([&] {
            QWidget* focus = QApplication::focusWidget();
            return focus && dialog.isAncestorOf(focus) && !inField();
        })) << "Tab moves on from a field holding a key";
        typeKey(Qt::Key_Escape, 1, QStringLiteral("\x1b"));
    });
    const MacroKeyDlg::Key key = MacroKeyDlg::ask(owner.get());
    ASSERT_TRUE(answered.ran());
    EXPECT_EQ(captured, QStringLiteral("Esc"));
    EXPECT_TRUE(stillOpenAfterFirstEscape) << "the first Escape was the key, not a close";
    // Closed as with its close button: the key the field holds is the answer.
    EXPECT_EQ(key.virtualKey, 27);
    EXPECT_EQ(key.name, QStringLiteral("Esc"));
}

} // namespace
} // namespace corvane::pages::test
