#include "pages/UpdateProcessDlg.h"

#include "i18n/LanguageTexts.h"
#include "ui/ProgressBar.h"
#include "ui/PushButton.h"
#include "ui/Skin.h"
#include "ui/StaticText.h"

#include <QKeyEvent>

#include <algorithm>

namespace corvane::pages {
namespace {

constexpr int kTextDownloading = 590;
constexpr int kTextDownloadFailed = 595;
constexpr int kTextCloseTip = 5;
constexpr int kFontSize = 14;

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

UpdateProcessDlg::UpdateProcessDlg() {
    setBackgroundImage(QStringLiteral("img_area_content.png"));
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
}

bool UpdateProcessDlg::openOver(QWidget* mainWindow) {
    QWidget* owner = mainWindow ? mainWindow->window() : nullptr;
    if (!create(owner, QString::fromLatin1(kUpdateProcessTitle), ui::StylePopup, ui::ExToolWindow,
                QRect(0, 0, kWidth, kHeight)))
        return false;
    setWindowModality(Qt::WindowModal);
    centre();
    show();
    return true;
}

void UpdateProcessDlg::InitUI(const QRect& /*client*/) {
    auto* line = add<ui::StaticText>(kLineId, {});
    line->setTextFont({}, kFontSize);
    line->setWordWrap(false);

    auto* bar = add<ui::ProgressBar>(kProgressId, {});
    bar->setRange(0, 100);

    auto* close = add<ui::PushButton>(kCloseId, {});
    close->setGlyph(ui::Glyph::Close);
    close->setToolTip(lookup(kTextCloseTip));
    close->hide();

    m_percent = 0;
    m_failed = false;
    applyTexts();
}

void UpdateProcessDlg::UISize(const QRect& client) {
    const int w = client.width();
    if (auto* line = control(kLineId))
        line->setGeometry(ui::ltrb(20, 20, w - 50, 45));
    if (auto* bar = control(kProgressId))
        bar->setGeometry(ui::ltrb(20, 55, w - 20, 75));
    if (auto* close = control(kCloseId))
        close->setGeometry(ui::ltrb(w - 34, 10, w - 10, 34));
}

void UpdateProcessDlg::setProgress(int percent) {
    if (m_failed)
        return;
    m_percent = std::clamp(percent, 0, 100);
    applyTexts();
}

void UpdateProcessDlg::showFailure() {
    m_failed = true;
    if (auto* close = control(kCloseId))
        close->show();
    applyTexts();
}

void UpdateProcessDlg::applyTexts() {
    if (auto* bar = find<ui::ProgressBar>(kProgressId))
        bar->setPosition(m_percent);
    if (auto* line = find<ui::StaticText>(kLineId)) {
        line->setText(m_failed
                          ? lookup(kTextDownloadFailed)
                          : QStringLiteral("%1: %2%").arg(lookup(kTextDownloading)).arg(m_percent));
    }
    if (auto* close = control(kCloseId))
        close->setToolTip(lookup(kTextCloseTip));
}

int UpdateProcessDlg::OnMessage(int controlId, int code, int /*param1*/, int /*param2*/) {
    if (controlId == kCloseId && code == ui::Notify::Click)
        DestroyWindow();
    return 0;
}

// While the download runs the window stays: closing it would leave the program going on
// with a download nobody waits for.
int UpdateProcessDlg::OnWindowMessage(int message, int wParam, int lParam) {
    if (message == ui::Message::Close && !m_failed)
        return 0;
    return ui::Dialog::OnWindowMessage(message, wParam, lParam);
}

void UpdateProcessDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_failed) {
        DestroyWindow();
        return;
    }
    ui::Dialog::keyPressEvent(event);
}

} // namespace corvane::pages
