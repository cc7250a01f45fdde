#include "app/frame/AboutDlg.h"

#include "app/start/ReleaseText.h"
#include "app/start/UiText.h"
#include "app/window/MainWindowIds.h"
#include "hid/DeviceManager.h"
#include "ui/base/EscapeCloses.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/views/Picture.h"

namespace corvane::app {

namespace {
const QColor kFill(0x1A, 0x1A, 0x1A);
const QColor kBorder(0x96, 0x96, 0x96);
} // namespace

QString AboutDlg::versionLine(int release) {
    return QStringLiteral("%1: v%2").arg(uiText(MainText::AboutVersion), releaseText(release));
}

int AboutDlg::run(QWidget* parent) {
    AboutDlg about;
    about.create(parent, QStringLiteral("About Window"), ui::StylePopup, 0, QRect(0, 0, 500, 300));
    about.centre();
    return about.runModal(ui::Show::Normal);
}

void AboutDlg::InitUI(const QRect& client) {
    const int w = client.width();
    setBackgroundColours(kFill, kBorder);

    ui::EscapeCloses::install(this, [this] {
        endModal(ui::ResultFirst);
        return true;
    });
    auto* close = add<ui::PushButton>(kCloseButton, QRect(w - 40, 8, 32, 32));
    close->setImages(QStringLiteral("sysbtn_close.png"));
    close->setGlyph(ui::Glyph::Close);
    close->setToolTip(uiText(MainText::CloseTip));

    auto* logo = add<ui::Picture>(0, QRect(w / 2 - 100, 50, 200, 64));
    logo->setImage(QStringLiteral("logo.png"));
    logo->setKeepAspect(true);
    logo->setText(ui::deviceName().left(1));
    logo->setFillColour(ui::skin::accentColour());

    int release = 0;
    hid::DeviceManager::instance().releaseOfMode(hid::kModeWired, release);
    auto* version = add<ui::StaticText>(0, ui::ltrb(20, 140, w - 20, 170));
    version->setText(versionLine(release));
    version->setAlignment(Qt::AlignCenter);
    version->setTextFont({}, 16);

    auto* site = add<ui::StaticText>(0, ui::ltrb(20, 200, w - 20, 230));
    site->setText(uiText(MainText::Website));
    site->setAlignment(Qt::AlignCenter);
    site->setTextColour(kBorder);
}

int AboutDlg::OnMessage(int controlId, int code, int, int) {
    if (controlId == kCloseButton && code == ui::Notify::Click)
        endModal(ui::ResultFirst);
    return 0;
}

} // namespace corvane::app
