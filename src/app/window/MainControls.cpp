// The main window's controls: what InitUI creates and how UISize places them.
#include "app/frame/Backdrop.h"
#include "app/frame/BatteryIndicator.h"
#include "app/frame/ContentFrame.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "pages/host/PageControls.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/views/DeviceList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"

#include <cmath>

namespace corvane::app {

namespace {

constexpr int kCaptionHeight = 64;
constexpr int kBottomHeight = 56;
constexpr int kTabWidth = 190;
// The content frame's distance from the tab column, the bars and the window's edges.
constexpr int kFrameMargin = 12;
constexpr QSize kTabItemSize(190, 60);
constexpr int kSystemButton = 36;
constexpr int kSystemGap = 6;
constexpr QSize kDefaultMousePicture(360, 420);
// Near the frame's right edge, so that the button page's function area beside it has room
// for long captions and names.
constexpr int kMousePictureRight = 40;
constexpr int kMousePictureTop = 135;

struct TabEntry {
    int itemId;
    const char* icon;
};
constexpr TabEntry kTabs[] = {
    {TabItem::Home, "icon/tab_home.png"},       {TabItem::Buttons, "icon/tab_key.png"},
    {TabItem::Performance, "icon/tab_dpi.png"}, {TabItem::Macros, "icon/tab_macro.png"},
    {TabItem::Lighting, "icon/tab_light.png"},  {TabItem::DeviceSettings, "icon/tab_set.png"},
};

struct SystemButton {
    int id;
    const char* image;
    ui::Glyph glyph;
};
// Right to left from the window's top right corner.
constexpr SystemButton kSystemButtons[] = {
    {MainControl::Close, "sysbtn_close.png", ui::Glyph::Close},
    {MainControl::Maximise, "sysbtn_maximize.png", ui::Glyph::Maximise},
    {MainControl::Minimise, "sysbtn_minimize.png", ui::Glyph::Minimise},
    {MainControl::Settings, "sysbtn_setting.png", ui::Glyph::Menu},
};

// The containers of the pages, in slot order, and the home page's.
constexpr int kPageContainers[] = {
    MainControl::ButtonsPage,  MainControl::PerformancePage,    MainControl::MacrosPage,
    MainControl::LightingPage, MainControl::DeviceSettingsPage, MainControl::ProgramSettingsPage,
};

QRect scaled(double scale, int x, int y, int w, int h) {
    return QRect(int(std::lround(x * scale)), int(std::lround(y * scale)),
                 int(std::lround(w * scale)), int(std::lround(h * scale)));
}

} // namespace

ui::Panel* DeviceMainDlg::pageContainer(PageSlot slot) const {
    return find<ui::Panel>(kPageContainers[static_cast<std::size_t>(slot)]);
}

ui::Panel* DeviceMainDlg::homeContainer() const {
    return find<ui::Panel>(MainControl::HomePage);
}

ui::Panel* DeviceMainDlg::buttonsInnerPanel() const {
    return find<ui::Panel>(MainControl::ButtonsInner);
}

void DeviceMainDlg::InitUI(const QRect& client) {
    createMainControls(client);
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const auto slot = static_cast<PageSlot>(i);
        m_pageControls[i] =
            std::make_unique<pages::PageControls>(*this, *pageContainer(slot), slot);
    }
    // The pages' controls are made when each is first shown (buildPage).
    applyTexts();
    // No device yet: the home page fills the window.
    selectTab(TabIndex::Home);
}

void DeviceMainDlg::createMainControls(const QRect& client) {
    add<Backdrop>(MainControl::Background, client)->setImage(QStringLiteral("main_bkg.png"));
    auto* caption = add<Backdrop>(MainControl::CaptionBar, {});
    caption->setImage(QStringLiteral("caption_bkg.png"));
    caption->setFillColour(ui::skin::panelColour());
    auto* bottom = add<Backdrop>(MainControl::BottomBar, {});
    bottom->setImage(QStringLiteral("bottom_bkg.png"));
    bottom->setFillColour(ui::skin::panelColour());
    auto* tabBackground = add<Backdrop>(MainControl::TabBackground, {});
    tabBackground->setImage(QStringLiteral("tab_bkg.png"));
    tabBackground->setFillColour(ui::skin::pressedColour());

    add<ContentFrame>(MainControl::ContentFrame, {});
    // Pages first, so that the tab column, the mouse picture and the bars lie above them.
    add<ui::Panel>(MainControl::HomePage, {});
    for (int id : kPageContainers)
        add<ui::Panel>(id, {});
    add<ui::Panel>(MainControl::ButtonsInner, {}, find<ui::Panel>(MainControl::ButtonsPage));
    createHomePage();
    createTabs();

    auto* mouse = add<ui::MousePicture>(MainControl::MousePicture, {});
    mouse->hide();

    // The skin's logo is wide (4:1); it keeps its proportions.
    auto* logo = add<ui::Picture>(MainControl::Logo, QRect(16, 16, 128, 32));
    logo->setImage(QStringLiteral("logo.png"));
    logo->setKeepAspect(true);
    logo->setFillColour(ui::skin::accentColour());
    logo->setText(ui::deviceName().left(1));
    logo->setTextFont(m_fontNames[0], 20, ui::FontBold);
    logo->setClickable(true);
    auto* title = add<ui::StaticText>(MainControl::Title, {});
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(false);
    auto* version = add<ui::StaticText>(MainControl::VersionLine, {});
    version->setWordWrap(false);
    version->setTextColour(ui::skin::mutedTextColour());
    add<ui::PushButton>(MainControl::Website, {})->setLinkStyle(true);

    for (const SystemButton& entry : kSystemButtons) {
        auto* button = add<ui::PushButton>(entry.id, {});
        button->setImages(QString::fromLatin1(entry.image));
        button->setGlyph(entry.glyph);
    }

    add<BatteryIndicator>(MainControl::Battery, {});
    auto* state = add<ui::StaticText>(MainControl::DeviceState, {});
    state->setWordWrap(false);
    add<ui::PushButton>(MainControl::Profile, {});
    add<ui::PushButton>(MainControl::RestoreDefaults, {});
}

void DeviceMainDlg::createHomePage() {
    ui::Panel* home = homeContainer();
    add<ui::DeviceList>(MainControl::DeviceList, {}, home);
    auto* banner = add<ui::Picture>(MainControl::Banner, {}, home);
    banner->setImage(QStringLiteral("home_banner.png"));
    banner->setFillColour(Qt::transparent);
    auto* hint = add<ui::StaticText>(MainControl::BannerText, {}, home);
    hint->setAlignment(Qt::AlignCenter);
    hint->setTextColour(ui::skin::mutedTextColour());
    auto* previous = add<ui::PushButton>(MainControl::PreviousDevices, {}, home);
    previous->setImages(QStringLiteral("btn_prev.png"));
    previous->setGlyph(ui::Glyph::Previous);
    auto* next = add<ui::PushButton>(MainControl::NextDevices, {}, home);
    next->setImages(QStringLiteral("btn_next.png"));
    next->setGlyph(ui::Glyph::Next);
}

void DeviceMainDlg::createTabs() {
    auto* tabs = add<ui::TabControl>(MainControl::Tabs, {});
    tabs->setVertical(true);
    tabs->setItemSize(kTabItemSize);
    for (const TabEntry& entry : kTabs)
        tabs->addItem({}, entry.itemId, QString::fromLatin1(entry.icon));
    // Shown once a device description says the device has lighting.
    tabs->setItemVisible(TabIndex::Lighting, m_details.hasLighting);
}

// --- layout ---

QRect DeviceMainDlg::pageArea(const QRect& client) const {
    const ui::Control* column = control(MainControl::TabBackground);
    const int left = column && !column->isHidden() ? kTabWidth : 0;
    return ui::ltrb(left + kFrameMargin, kCaptionHeight + kFrameMargin,
                    client.width() - kFrameMargin, client.height() - kBottomHeight - kFrameMargin);
}

void DeviceMainDlg::UISize(const QRect& client) {
    m_uiScale = double(client.height()) / kDesignHeight;
    layoutMainControls(client);
    layoutHomePage(client);
    placeMousePicture(client);
    const QRect area = pageArea(client);
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] && m_pageBuilt[i])
            m_pages[i]->layout(area, m_uiScale);
    }
}

void DeviceMainDlg::relayout() {
    if (isCreated()) {
        restoreDesignRects();
        UISize(designClient());
        scaleControls();
    }
}

void DeviceMainDlg::layoutMainControls(const QRect& client) {
    const int w = client.width();
    const int h = client.height();
    const int bottomTop = h - kBottomHeight;
    control(MainControl::Background)->setGeometry(client);
    control(MainControl::CaptionBar)->setGeometry(0, 0, w, kCaptionHeight);
    control(MainControl::BottomBar)->setGeometry(0, bottomTop, w, kBottomHeight);
    const QRect column = ui::ltrb(0, kCaptionHeight, kTabWidth, bottomTop);
    control(MainControl::TabBackground)->setGeometry(column);
    control(MainControl::Tabs)->setGeometry(column.adjusted(0, 12, 0, 0));

    control(MainControl::Title)->setGeometry(w / 2 - 220, 14, 440, 36);
    control(MainControl::VersionLine)->setGeometry(156, 20, 320, 24);
    int right = w - 14;
    for (const SystemButton& entry : kSystemButtons) {
        right -= kSystemButton;
        control(entry.id)->setGeometry(right, 14, kSystemButton, kSystemButton);
        right -= kSystemGap;
    }
    if (auto* maximise = find<ui::PushButton>(MainControl::Maximise)) {
        const bool zoomed = isMaximized();
        maximise->setImages(zoomed ? QStringLiteral("sysbtn_restore.png")
                                   : QStringLiteral("sysbtn_maximize.png"));
        maximise->setGlyph(zoomed ? ui::Glyph::Restore : ui::Glyph::Maximise);
    }

    control(MainControl::DeviceState)->setGeometry(24, bottomTop + 16, 300, 24);
    control(MainControl::Battery)->setGeometry(330, bottomTop + 16, 90, 24);
    control(MainControl::Website)->setGeometry(w / 2 - 150, bottomTop + 16, 300, 24);
    control(MainControl::RestoreDefaults)->setGeometry(w - 24 - 220, bottomTop + 10, 220, 36);
    control(MainControl::Profile)->setGeometry(w - 24 - 220 - 12 - 170, bottomTop + 10, 170, 36);

    const QRect area = pageArea(client);
    control(MainControl::ContentFrame)->setGeometry(area);
    control(MainControl::HomePage)->setGeometry(area);
    for (int id : kPageContainers)
        control(id)->setGeometry(area);
    control(MainControl::ButtonsInner)->setGeometry(QRect(QPoint(0, 0), area.size()));
}

void DeviceMainDlg::layoutHomePage(const QRect& client) {
    const ui::Control* home = control(MainControl::HomePage);
    const QPoint origin = home->geometry().topLeft();
    const int w = client.width();
    const int h = client.height();
    // Client positions, moved into the home container.
    QRect banner = scaled(m_uiScale, 0, 200, 500, 80);
    banner.moveLeft((w - banner.width()) / 2);
    control(MainControl::Banner)->setGeometry(banner.translated(-origin));
    control(MainControl::BannerText)->setGeometry(banner.translated(-origin));
    const QRect list = ui::ltrb(200, 200, w - 200, h - 100);
    control(MainControl::DeviceList)->setGeometry(list.translated(-origin));
    const int middle = list.center().y() - 24;
    control(MainControl::PreviousDevices)
        ->setGeometry(QRect(list.left() - 64, middle, 48, 48).translated(-origin));
    control(MainControl::NextDevices)
        ->setGeometry(QRect(list.right() + 16, middle, 48, 48).translated(-origin));
}

void DeviceMainDlg::placeMousePicture(const QRect& client) {
    auto* mouse = find<ui::MousePicture>(MainControl::MousePicture);
    const QSize image = mouse->imageSize();
    const QSize size = image.width() > 1 ? image : kDefaultMousePicture;
    mouse->setGeometry(client.width() - kMousePictureRight - size.width(), kMousePictureTop,
                       size.width(), size.height());
    mouse->raise();
}

} // namespace corvane::app
