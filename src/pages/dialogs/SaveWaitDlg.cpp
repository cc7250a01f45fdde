#include "pages/dialogs/SaveWaitDlg.h"

#include "i18n/LanguageTexts.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/ProgressBar.h"
#include "ui/controls/StaticText.h"
#include "ui/views/Picture.h"

#include <algorithm>

namespace corvane::pages {
namespace {

constexpr int kTextSaving = 630;
constexpr int kProgressStepMs = 50;

} // namespace

SaveWaitDlg::SaveWaitDlg(int durationMs) : m_durationMs(std::max(1, durationMs)) {
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
}

bool SaveWaitDlg::createOver(QWidget* mainWindow) {
    QWidget* owner = mainWindow ? mainWindow->window() : nullptr;
    if (!create(owner, QString::fromLatin1(kSaveWaitTitle), ui::StylePopup, ui::ExToolWindow,
                QRect(0, 0, kWidth, kHeight)))
        return false;
    // Shown while the user goes on editing: it must not take the focus, or the field being
    // edited would lose it.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    centre();
    return true;
}

void SaveWaitDlg::InitUI(const QRect& /*client*/) {
    auto* logo = add<ui::Picture>(kLogoId, {});
    logo->setImage(QStringLiteral("logo.png"));
    logo->setText(ui::deviceName());

    auto* text = add<ui::StaticText>(kTextId, {});
    text->setTextFont({}, 20);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(false);

    auto* bar = add<ui::ProgressBar>(kProgressId, {});
    bar->setRange(0, 100);
}

void SaveWaitDlg::UISize(const QRect& client) {
    const int w = client.width();
    if (auto* logo = find<ui::Picture>(kLogoId)) {
        const QSize own = logo->imageSize();
        logo->setGeometry(QRect(QPoint(10, 10), own.isEmpty() ? QSize(160, 80) : own));
    }
    if (auto* text = control(kTextId))
        text->setGeometry(ui::ltrb(10, 100, w - 10, 130));
    if (auto* bar = control(kProgressId))
        bar->setGeometry(ui::ltrb(10, 130, w - 20, 150));
}

void SaveWaitDlg::startSaveWait() {
    if (!isCreated())
        return;
    // Texts and the selection colour are read at every start, so a change of language or
    // colour shows the next time.
    if (auto* text = find<ui::StaticText>(kTextId)) {
        text->setText(i18n::lookupText(i18n::kTextSection, kTextSaving));
        text->setTextColour(ui::selectionColour());
    }
    if (auto* bar = find<ui::ProgressBar>(kProgressId))
        bar->setPosition(0);
    m_clock.start();
    setTimer(kHideTimerId, m_durationMs);
    setTimer(kProgressTimerId, kProgressStepMs);
    if (!isVisible()) {
        // Over the main window wherever it has moved since the last time.
        centre();
        show();
    }
}

void SaveWaitDlg::stopSaveWait() {
    stopTimer(kHideTimerId);
    stopTimer(kProgressTimerId);
    hide();
}

int SaveWaitDlg::progress() const {
    const auto* bar = find<ui::ProgressBar>(kProgressId);
    return bar ? bar->position() : 0;
}

void SaveWaitDlg::OnTimer(int timerId) {
    if (timerId == kHideTimerId) {
        stopSaveWait();
    } else if (timerId == kProgressTimerId) {
        if (auto* bar = find<ui::ProgressBar>(kProgressId))
            bar->setPosition(int(std::min<qint64>(100, m_clock.elapsed() * 100 / m_durationMs)));
    }
}

SaveWait::SaveWait(int durationMs) : m_durationMs(durationMs) {}

SaveWait::~SaveWait() {
    delete m_window.data();
}

bool SaveWait::show(QWidget* mainWindow, bool showSaveTips) {
    if (!showSaveTips)
        return false;
    if (!m_window || !m_window->isCreated()) {
        if (!m_window)
            m_window = new SaveWaitDlg(m_durationMs);
        if (!m_window->createOver(mainWindow))
            return false;
    }
    m_window->startSaveWait();
    return true;
}

void SaveWait::hide() {
    if (m_window)
        m_window->stopSaveWait();
}

} // namespace corvane::pages
