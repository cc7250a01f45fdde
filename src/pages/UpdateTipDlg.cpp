#include "pages/UpdateTipDlg.h"

#include "i18n/LanguageTexts.h"
#include "ui/ProgressBar.h"
#include "ui/PushButton.h"
#include "ui/Skin.h"
#include "ui/StaticText.h"

#include <QKeyEvent>

#include <algorithm>

namespace corvane::pages {
namespace {

// The status line's steps (the worker names them) and the window's own texts.
constexpr int kTextDownloading = 590;
constexpr int kTextPreparing = 591;
constexpr int kTextUpgrading = 592;
constexpr int kTextDone = 593;
constexpr int kTextFailed = 594;
constexpr int kTextTitle = 596;
constexpr int kTextCloseTip = 5;
constexpr int kSteps[] = {kTextDownloading, kTextPreparing, kTextUpgrading, kTextDone, kTextFailed};
constexpr int kFontSize = 14;

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

UpdateTipDlg::UpdateTipDlg() {
    setBackgroundImage(QStringLiteral("img_upgrade_bkg.png"));
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
}

bool UpdateTipDlg::openOver(QWidget* mainWindow) {
    QWidget* owner = mainWindow ? mainWindow->window() : nullptr;
    if (!create(owner, QString::fromLatin1(kUpdateTipTitle), ui::StylePopup,
                ui::ExLayered | ui::ExToolWindow, QRect(0, 0, kWidth, kHeight)))
        return false;
    // It reports; it does not take the keyboard from the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    centre();
    show();
    return true;
}

void UpdateTipDlg::InitUI(const QRect& /*client*/) {
    auto* title = add<ui::StaticText>(kTitleId, {});
    title->setTextFont({}, kFontSize + 4, ui::FontBold);
    title->setWordWrap(false);

    auto* line = add<ui::StaticText>(kLineId, {});
    line->setTextFont({}, kFontSize);
    line->setWordWrap(false);

    auto* bar = add<ui::ProgressBar>(kProgressId, {});
    bar->setRange(0, 100);

    auto* close = add<ui::PushButton>(kCloseId, {});
    close->setGlyph(ui::Glyph::Close);
    close->hide();

    m_textId = 0;
    m_percent = 0;
    m_failed = false;
    applyTexts();
}

void UpdateTipDlg::UISize(const QRect& client) {
    const int w = client.width();
    if (auto* title = control(kTitleId))
        title->setGeometry(ui::ltrb(20, 10, w - 20, 60));
    if (auto* line = control(kLineId))
        line->setGeometry(ui::ltrb(20, 60, w - 20, 80));
    if (auto* bar = control(kProgressId))
        bar->setGeometry(ui::ltrb(20, 80, w - 20, 116));
    if (auto* close = control(kCloseId))
        close->setGeometry(ui::ltrb(w - 34, 10, w - 10, 34));
}

void UpdateTipDlg::setProgress(int textId, int percent) {
    if (m_failed)
        return;
    if (std::find(std::begin(kSteps), std::end(kSteps), textId) != std::end(kSteps))
        m_textId = textId;
    m_percent = std::clamp(percent, 0, 100);
    applyTexts();
}

void UpdateTipDlg::showFailure() {
    m_textId = kTextFailed;
    m_failed = true;
    if (auto* close = control(kCloseId))
        close->show();
    applyTexts();
}

void UpdateTipDlg::applyTexts() {
    if (auto* title = find<ui::StaticText>(kTitleId))
        title->setText(lookup(kTextTitle));
    if (auto* line = find<ui::StaticText>(kLineId)) {
        line->setText(m_textId ? QStringLiteral("%1: %2%").arg(lookup(m_textId)).arg(m_percent)
                               : QString());
    }
    if (auto* bar = find<ui::ProgressBar>(kProgressId))
        bar->setPosition(m_percent);
    if (auto* close = control(kCloseId))
        close->setToolTip(lookup(kTextCloseTip));
}

int UpdateTipDlg::OnMessage(int controlId, int code, int /*param1*/, int /*param2*/) {
    if (controlId == kCloseId && code == ui::Notify::Click)
        DestroyWindow();
    return 0;
}

// While the mouse is being written the window stays; the worker closes it at the end.
int UpdateTipDlg::OnWindowMessage(int message, int wParam, int lParam) {
    if (message == ui::Message::Close && !m_failed)
        return 0;
    return ui::Dialog::OnWindowMessage(message, wParam, lParam);
}

void UpdateTipDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_failed) {
        DestroyWindow();
        return;
    }
    ui::Dialog::keyPressEvent(event);
}

} // namespace corvane::pages
