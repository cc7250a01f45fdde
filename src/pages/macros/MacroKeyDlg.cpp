#include "pages/macros/MacroKeyDlg.h"

#include "i18n/LanguageTexts.h"
#include "pages/keys/KeyCapture.h"
#include "ui/base/EscapeCloses.h"
#include "ui/base/Skin.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"

#include <QApplication>

namespace corvane::pages {

namespace {

constexpr int kTextCloseTip = 5;
constexpr int kTextKey = 103;
constexpr int kTextConfirm = 22;
constexpr int kKeyFieldCharacters = 10;

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

MacroKeyDlg::MacroKeyDlg() : m_capture(std::make_unique<KeyCapture>()) {
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
    m_capture->setConsumer(CaptureMode::MacroKeyField, [this](const InputEvent&) {
        m_key = {m_capture->lastVirtualKey(), m_capture->lastKeyName()};
        find<ui::TextField>(KeyField)->setText(m_key.name);
    });
}

MacroKeyDlg::~MacroKeyDlg() = default;

MacroKeyDlg::Key MacroKeyDlg::ask(QWidget* owner) {
    MacroKeyDlg dialog;
    QWidget* parent = owner ? owner->window() : nullptr;
    if (!dialog.create(parent, QString::fromLatin1(kMacroKeyDlgTitle), ui::StylePopup,
                       ui::ExLayered | ui::ExToolWindow, QRect(0, 0, kWidth, kHeight)))
        return {};
    dialog.centre();
    dialog.runModal();
    return dialog.m_key.virtualKey > 0 ? dialog.m_key : Key{};
}

void MacroKeyDlg::InitUI(const QRect& /*client*/) {
    auto* close = add<ui::PushButton>(Close, QRect(kWidth - 34, 10, 24, 24));
    close->setGlyph(ui::Glyph::Close);
    close->setToolTip(lookup(kTextCloseTip));
    close->setAccessibleText(lookup(kTextCloseTip));
    auto* label = add<ui::StaticText>(Label, QRect(20, 50, 80, 32));
    label->setText(lookup(kTextKey));
    label->setTextFont({}, 14);
    auto* field = add<ui::TextField>(KeyField, QRect(100, 50, 240, 32));
    field->setReadOnly(true);
    field->setMaxLength(kKeyFieldCharacters);
    field->setAccessibleText(lookup(kTextKey));
    auto* confirm = add<ui::PushButton>(Confirm, QRect(kWidth - 140, 100, 120, 34));
    confirm->setText(lookup(kTextConfirm));
    confirm->setAccessibleText(lookup(kTextConfirm));
    field->setFocus(Qt::OtherFocusReason);
    // Escape closes the dialog as its close button does, except in the key field, where it
    // is a key a macro can press (once the field holds a key, Tab leaves it).
    ui::EscapeCloses::install(this, [this, field] {
        if (field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()))
            return false;
        m_capture->stopCapture();
        endModal(ui::ResultSecond);
        return true;
    });
}

int MacroKeyDlg::OnMessage(int controlId, int code, int /*param1*/, int /*param2*/) {
    if (controlId == KeyField) {
        if (code == ui::Notify::FocusGained)
            m_capture->startCapture(CaptureMode::MacroKeyField);
        else if (code == ui::Notify::FocusLost)
            m_capture->stopCapture();
        return 0;
    }
    if (code == ui::Notify::Click && (controlId == Close || controlId == Confirm)) {
        m_capture->stopCapture();
        endModal(controlId == Confirm ? ui::ResultFirst : ui::ResultSecond);
    }
    return 0;
}

} // namespace corvane::pages
