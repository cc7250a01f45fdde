#include "pages/update/UpdateProcessDlg.h"

#include "i18n/LanguageTexts.h"
#include "ui/base/Skin.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/StaticText.h"

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

UpdateProcessDlg::UpdateProcessDlg() : ProgressWindow(kCloseId) {
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

    addCloseButton();
    resetProgress();
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
    if (takeProgress(percent))
        applyTexts();
}

void UpdateProcessDlg::showFailure() {
    markFailed();
    applyTexts();
}

void UpdateProcessDlg::applyTexts() {
    if (auto* bar = find<ui::ProgressBar>(kProgressId))
        bar->setPosition(progress());
    if (auto* line = find<ui::StaticText>(kLineId)) {
        line->setText(
            hasFailed() ? lookup(kTextDownloadFailed)
                        : QStringLiteral("%1: %2%").arg(lookup(kTextDownloading)).arg(progress()));
    }
    if (auto* close = control(kCloseId))
        close->setToolTip(lookup(kTextCloseTip));
}

} // namespace corvane::pages
