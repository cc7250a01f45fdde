#include "pages/dialogs/MessageBox.h"

#include "i18n/LanguageTexts.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

namespace corvane::pages {
namespace {

constexpr int kFontSize = 16;
constexpr int kTextOk = 20;     // the one button of a notice
constexpr int kTextFirst = 23;  // first button of a question
constexpr int kTextSecond = 25; // second button of a question

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

CUIMessageBox::CUIMessageBox(const QString& title, const QString& text, int style)
    : m_title(title), m_text(text), m_style(style) {
    setBackgroundImage(QStringLiteral("bk_prompt.png"));
}

int CUIMessageBox::exec(QWidget* parent) {
    QWidget* owner = parent ? parent->window() : nullptr;
    // An owned pop-up: no task bar entry of its own.
    if (!create(owner, QString::fromLatin1(kMessageBoxTitle), ui::StylePopup,
                ui::ExLayered | ui::ExToolWindow, QRect(0, 0, kWidth, kHeight)))
        return ui::ResultSecond;
    centre();
    return runModal();
}

void CUIMessageBox::InitUI(const QRect& /*client*/) {
    auto* title = add<ui::StaticText>(kTitleId, {});
    title->setTextFont({}, kFontSize, ui::FontBold);
    title->setWordWrap(false);
    title->setText(m_title);

    auto* body = add<ui::StaticText>(kTextId, {});
    body->setTextFont({}, kFontSize);
    body->setAlignment(Qt::AlignCenter);
    body->setText(m_text);

    auto addButton = [this](int id, int textId) {
        auto* button = add<ui::PushButton>(id, {});
        button->setImages(QStringLiteral("img_button.png"));
        button->setTextFont({}, kFontSize);
        button->setText(lookup(textId));
        return button;
    };
    ui::PushButton* first = nullptr;
    if (m_style == MessageOneButton) {
        first = addButton(kFirstButtonId, kTextOk);
    } else if (m_style == MessageTwoButtons) {
        first = addButton(kFirstButtonId, kTextFirst);
        addButton(kSecondButtonId, kTextSecond);
    }
    // Enter or Space answers with the first button, as the focused one.
    if (first)
        first->setFocus();
    else
        setFocus();
}

void CUIMessageBox::UISize(const QRect& client) {
    const int w = client.width();
    const int h = client.height();
    if (auto* title = control(kTitleId))
        title->setGeometry(ui::ltrb(20, 15, w - 20, 45));
    if (auto* body = control(kTextId))
        body->setGeometry(ui::ltrb(20, 50, w - 20, h - 50));
    const int top = h - 50;
    const int bottom = h - 14;
    if (m_style == MessageOneButton) {
        if (auto* button = control(kFirstButtonId))
            button->setGeometry(ui::ltrb(60, top, w - 60, bottom));
    } else if (m_style == MessageTwoButtons) {
        const int centre = w / 2;
        if (auto* first = control(kFirstButtonId))
            first->setGeometry(ui::ltrb(centre - 20 - 100, top, centre - 20, bottom));
        if (auto* second = control(kSecondButtonId))
            second->setGeometry(ui::ltrb(centre + 20, top, centre + 20 + 100, bottom));
    }
}

int CUIMessageBox::OnMessage(int controlId, int code, int /*param1*/, int /*param2*/) {
    if (code != ui::Notify::Click)
        return 0;
    if (controlId == kFirstButtonId)
        endModal(ui::ResultFirst);
    else if (controlId == kSecondButtonId)
        endModal(ui::ResultSecond);
    return 0;
}

void CUIMessageBox::keyPressEvent(QKeyEvent* event) {
    // Escape closes the box without a button: the answer that changes nothing.
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        endModal(ui::ResultSecond);
        return;
    }
    ui::Dialog::keyPressEvent(event);
}

int showMessage(const QString& text, QWidget* parent, const QString& title, int style) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return ui::ResultSecond;
    // On the heap: the parent may be destroyed while the box runs, and takes the box
    // with it.
    QPointer<CUIMessageBox> box = new CUIMessageBox(title, text, style);
    const int result = box->exec(parent);
    delete box.data();
    return result;
}

} // namespace corvane::pages
