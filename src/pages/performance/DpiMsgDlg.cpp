#include "pages/performance/DpiMsgDlg.h"

#include "i18n/LanguageTexts.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>

namespace corvane::pages {
namespace {

constexpr int kTextClose = 5;
constexpr int kCornerGap = 2;

bool platformPlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

QRect dpiPopupRect(const QRect& workArea, const QRect& mainWindow, bool canPlaceWindows) {
    const QRect area = canPlaceWindows || mainWindow.isEmpty() ? workArea : mainWindow;
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    return ui::ltrb(right - DpiMsgDlg::kWidth - kCornerGap,
                    bottom - DpiMsgDlg::kHeight - kCornerGap, right - kCornerGap,
                    bottom - kCornerGap);
}

DpiMsgDlg::DpiMsgDlg(int durationMs) : m_durationMs(std::max(1, durationMs)) {
    setClock({});
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
}

bool DpiMsgDlg::createOver(QWidget* mainWindow) {
    QWidget* owner = mainWindow ? mainWindow->window() : nullptr;
    if (!create(owner, QString::fromLatin1(kDpiPopupTitle), ui::StylePopup,
                ui::ExToolWindow | ui::ExTopMost, QRect(0, 0, kWidth, kHeight)))
        return false;
    // Shown while the user works in the main window (or not in the program at all).
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    return true;
}

void DpiMsgDlg::InitUI(const QRect& /*client*/) {
    auto* close = add<ui::PushButton>(kCloseId, {});
    close->setImages(QStringLiteral("sysbtn_close.png"));
    close->setGlyph(ui::Glyph::Close);

    auto* value = add<ui::StaticText>(kValueId, {});
    value->setTextFont({}, 40, ui::FontBold);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setWordWrap(false);
    value->setText(QStringLiteral("1600"));

    auto* unit = add<ui::StaticText>(kUnitId, {});
    unit->setTextFont({}, 18);
    unit->setWordWrap(false);
    unit->setText(QStringLiteral("DPI"));

    auto* bar = add<ui::ProgressBar>(kBarId, {});
    bar->setRange(0, kBarMaximum);
    bar->setPosition(1600);
}

void DpiMsgDlg::UISize(const QRect& client) {
    const int w = client.width();
    control(kCloseId)->setGeometry(w - 34, 6, 28, 28);
    control(kValueId)->setGeometry(ui::ltrb(16, 28, w / 2 + 60, 84));
    control(kUnitId)->setGeometry(ui::ltrb(w / 2 + 68, 44, w - 16, 80));
    control(kBarId)->setGeometry(ui::ltrb(16, 96, w - 16, 110));
}

int DpiMsgDlg::OnMessage(int controlId, int code, int /*param1*/, int /*param2*/) {
    if (controlId == kCloseId && code == ui::Notify::Click) {
        stopTimer(kHideTimerId);
        hide();
    }
    return 0;
}

void DpiMsgDlg::setClock(Clock clock) {
    if (!clock) {
        clock = [] {
            return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count());
        };
    }
    m_clock = std::move(clock);
}

bool DpiMsgDlg::hideWhenDue() {
    if (!isVisible())
        return false;
    const qint64 left = m_shownAt + m_durationMs - m_clock();
    if (left > 0) {
        setTimer(kHideTimerId, int(left));
        return false;
    }
    stopTimer(kHideTimerId);
    hide();
    return true;
}

void DpiMsgDlg::OnTimer(int timerId) {
    if (timerId == kHideTimerId && !hideWhenDue() && !isVisible())
        stopTimer(kHideTimerId);
}

void DpiMsgDlg::placeInCorner() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QRect workArea = screen ? screen->availableGeometry() : QRect();
    const QRect mainWindow = parentWidget() ? parentWidget()->frameGeometry() : QRect();
    setGeometry(dpiPopupRect(workArea, mainWindow, platformPlacesWindows()));
}

void DpiMsgDlg::showDpi(int dpi) {
    if (!isCreated())
        return;
    if (auto* close = control(kCloseId))
        close->setToolTip(i18n::lookupText(i18n::kTextSection, kTextClose));
    if (auto* value = find<ui::StaticText>(kValueId)) {
        value->setText(QString::number(dpi));
        value->setTextColour(ui::selectionColour());
    }
    if (auto* bar = find<ui::ProgressBar>(kBarId))
        bar->setPosition(dpi);
    // The work area may have changed since the last time.
    placeInCorner();
    m_shownAt = m_clock();
    setTimer(kHideTimerId, m_durationMs);
    show();
    update();
}

QString DpiMsgDlg::valueText() const {
    const ui::Control* value = control(kValueId);
    return value ? value->text() : QString();
}

int DpiMsgDlg::barPosition() const {
    const auto* bar = find<ui::ProgressBar>(kBarId);
    return bar ? bar->position() : 0;
}

} // namespace corvane::pages
