#include "pages/update/UpdateTipDlg.h"

#include "i18n/LanguageTexts.h"
#include "ui/base/Skin.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/StaticText.h"

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

UpdateTipDlg::UpdateTipDlg() : ProgressWindow(kCloseId) {
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

    addCloseButton();
    m_textId = 0;
    resetProgress();
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
    if (hasFailed())
        return;
    if (std::find(std::begin(kSteps), std::end(kSteps), textId) != std::end(kSteps))
        m_textId = textId;
    takeProgress(percent);
    applyTexts();
}

void UpdateTipDlg::showFailure() {
    m_textId = kTextFailed;
    markFailed();
    applyTexts();
}

void UpdateTipDlg::applyTexts() {
    if (auto* title = find<ui::StaticText>(kTitleId))
        title->setText(lookup(kTextTitle));
    if (auto* line = find<ui::StaticText>(kLineId)) {
        line->setText(m_textId ? QStringLiteral("%1: %2%").arg(lookup(m_textId)).arg(progress())
                               : QString());
    }
    if (auto* bar = find<ui::ProgressBar>(kProgressId))
        bar->setPosition(progress());
    if (auto* close = control(kCloseId))
        close->setToolTip(lookup(kTextCloseTip));
}

} // namespace corvane::pages
