#include "app/PlainMessageBoxes.h"

#include "app/UiText.h"
#include "ui/Dialog.h"
#include "ui/ProgressBar.h"
#include "ui/PushButton.h"
#include "ui/StaticText.h"

#include <QPointer>

namespace corvane::app {

namespace {

constexpr int kOkText = 20;
constexpr int kFirstText = 23;
constexpr int kSecondText = 25;
constexpr int kSavingText = 630;
constexpr int kFirstButton = 1;
constexpr int kSecondButton = 2;
constexpr int kSaveWaitTimer = 200;
constexpr int kSaveWaitMs = 2000;

class PlainMessageBox : public ui::Dialog {
public:
    PlainMessageBox(QString text, QString title, int style)
        : m_text(std::move(text)), m_title(std::move(title)), m_style(style) {}

    void InitUI(const QRect& client) override {
        const int w = client.width();
        const int h = client.height();
        auto* title = add<ui::StaticText>(0, ui::ltrb(20, 15, w - 20, 45));
        title->setText(m_title);
        title->setTextFont({}, 16, ui::FontBold);
        auto* body = add<ui::StaticText>(0, ui::ltrb(20, 50, w - 20, h - 50));
        body->setText(m_text);
        body->setTextFont({}, 16);
        body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        const QRect row = ui::ltrb(0, h - 50, w, h - 14);
        if (m_style == MessageStyle::OneButton) {
            addButton(kFirstButton, kOkText, ui::ltrb(60, row.top(), w - 60, row.bottom() + 1));
        } else if (m_style == MessageStyle::TwoButtons) {
            const int centre = w / 2;
            addButton(kFirstButton, kFirstText,
                      ui::ltrb(centre - 120, row.top(), centre - 20, row.bottom() + 1));
            addButton(kSecondButton, kSecondText,
                      ui::ltrb(centre + 20, row.top(), centre + 120, row.bottom() + 1));
        }
    }

    int OnMessage(int controlId, int code, int, int) override {
        if (code == ui::Notify::Click && (controlId == kFirstButton || controlId == kSecondButton))
            endModal(controlId);
        return 0;
    }

private:
    void addButton(int id, int textId, const QRect& rect) {
        auto* button = add<ui::PushButton>(id, rect);
        button->setImages(QStringLiteral("img_button.png"));
        button->setText(uiText(textId));
        button->setTextFont({}, 16);
    }

    QString m_text;
    QString m_title;
    int m_style;
};

class PlainSaveWait : public ui::Dialog {
public:
    void InitUI(const QRect& client) override {
        const int w = client.width();
        auto* text = add<ui::StaticText>(0, ui::ltrb(10, 100, w - 10, 130));
        text->setText(uiText(kSavingText));
        text->setTextFont({}, 20);
        text->setAlignment(Qt::AlignCenter);
        auto* bar = add<ui::ProgressBar>(0, ui::ltrb(10, 130, w - 20, 150));
        bar->setRange(0, 0); // running, with no end
    }
    void start() {
        setTimer(kSaveWaitTimer, kSaveWaitMs);
        show();
        raise();
    }
    void OnTimer(int timerId) override {
        if (timerId == kSaveWaitTimer) {
            stopTimer(kSaveWaitTimer);
            hide();
        }
    }
};

} // namespace

PlainMessageBoxes::PlainMessageBoxes() = default;
PlainMessageBoxes::~PlainMessageBoxes() {
    delete saveWait.data();
}

int PlainMessageBoxes::showMessage(const QString& text, QWidget* parent, const QString& title,
                                   int style) {
    PlainMessageBox box(text, title, style);
    box.create(parent ? parent->window() : nullptr, QStringLiteral("MessageBox"), ui::StylePopup,
               ui::ExTopMost, QRect(0, 0, 430, 230));
    box.centre();
    return box.runModal(ui::Show::Normal);
}

void PlainMessageBoxes::startSaveWait(QWidget* parent) {
    if (!saveWait || !saveWait->isCreated() || saveWait->parentWidget() != parent) {
        delete saveWait.data();
        saveWait = new PlainSaveWait;
        saveWait->create(parent, QStringLiteral("SaveWaitDlg"), ui::StyleChild | ui::StylePopup,
                         ui::ExToolWindow, QRect(0, 0, 500, 200));
        saveWait->centre();
    }
    static_cast<PlainSaveWait*>(saveWait.data())->start();
}

void PlainMessageBoxes::hideSaveWait() {
    if (saveWait && saveWait->isCreated()) {
        saveWait->stopTimer(kSaveWaitTimer);
        saveWait->hide();
    }
}

bool PlainMessageBoxes::isSaveWaitShown() const {
    return saveWait && saveWait->isCreated() && saveWait->isVisible();
}

} // namespace corvane::app
