// Every view of the main window laid out inside its frame, in every installed language, at
// the screen sizes and interface scales people use: no control outside its page, no two
// controls one can click lying on top of each other, no text wider than its control
// (measured with the control's own font).
#include "WindowTest.h"

#include "app/window/MainPages.h"
#include "app/window/MainWindowIds.h"
#include "hid/DeviceManager.h"
#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/dialogs/MousePaletteDlg.h"
#include "pages/macros/MacroKeyDlg.h"
#include "pages/settings/ProfileAppsDlg.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ItemControl.h"
#include "ui/views/KeyList.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"
#include "virtualmouse/ProgramDemo.h"
#include "virtualmouse/VirtualMouse.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

#include <algorithm>
#include <typeinfo>

namespace corvane::app::test {
namespace {

// The languages the installation ships: every language file in its data folder.
std::vector<int> installedLanguages() {
    std::vector<int> lcids;
    const QDir folder(sourceData() + QStringLiteral("/language"));
    for (const QString& name : folder.entryList({QStringLiteral("*.lan")}, QDir::Files))
        lcids.push_back(QFileInfo(name).baseName().toInt());
    return lcids;
}

struct Screen {
    QSize size;   // device pixels
    double scale; // the desktop's scaling (QT_SCALE_FACTOR)
};

// The area a desktop leaves for windows on that screen, in logical pixels (a 40-pixel
// panel at the bottom).
constexpr int kPanel = 40;
QRect availableArea(const Screen& screen) {
    return QRect(0, 0, int(screen.size.width() / screen.scale),
                 int((screen.size.height() - kPanel) / screen.scale));
}

QString describe(const QWidget* w) {
    const auto* control = dynamic_cast<const ui::Control*>(w);
    QString name = QString::fromLatin1(typeid(*w).name());
    if (control) {
        name += QStringLiteral(" #%1").arg(control->id());
        if (!control->text().isEmpty())
            name += QStringLiteral(" \"%1\"").arg(control->text());
    }
    return name;
}

bool isInteractive(const QWidget* w) {
    if (auto* passive = dynamic_cast<const ui::PassiveControl*>(w))
        return passive->isClickable();
    return dynamic_cast<const ui::ButtonBase*>(w) || dynamic_cast<const ui::ComboBox*>(w) ||
           dynamic_cast<const ui::Slider*>(w) || dynamic_cast<const ui::TextField*>(w) ||
           dynamic_cast<const ui::ListBox*>(w) || dynamic_cast<const ui::ItemControl*>(w) ||
           dynamic_cast<const ui::ColourPalette*>(w);
}

// The width a control leaves for its one-line text.
int textRoom(const ui::Control* c) {
    if (dynamic_cast<const ui::CheckBox*>(c) || dynamic_cast<const ui::RadioButton*>(c))
        return c->width() - std::min(16, c->height()) - 8;
    if (dynamic_cast<const ui::ComboBox*>(c)) {
        // What the style leaves for the text beside the arrow.
        if (auto* box = c->findChild<QComboBox*>()) {
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.editable = box->isEditable();
            return box->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                .width();
        }
        return c->width();
    }
    return c->width();
}

class LayoutWalker {
public:
    // window: the main window or a pop-up (which has no content frame of its own).
    explicit LayoutWalker(ui::Dialog& window) : m_window(window) {}

    // Every fault of the view now shown, one line each.
    QStringList faults() {
        m_faults.clear();
        const QRect windowRect = m_window.rect();
        std::vector<std::pair<QWidget*, QRect>> interactive;
        for (QWidget* w : m_window.findChildren<QWidget*>()) {
            auto* c = dynamic_cast<ui::Control*>(w);
            if (!c || !c->isVisibleTo(&m_window) || c->size().isEmpty())
                continue;
            const QRect r(c->mapTo(&m_window, QPoint(0, 0)), c->size());
            const QRect frame = frameOf(c);
            if (!frame.contains(r))
                add(QStringLiteral("%1 at %2 lies outside its frame %3")
                        .arg(describe(c), rectText(r), rectText(frame)));
            if (!windowRect.contains(r))
                add(QStringLiteral("%1 at %2 lies outside the window")
                        .arg(describe(c), rectText(r)));
            if (isInteractive(c) && !insideInteractive(c))
                interactive.emplace_back(c, r.intersected(frame));
            checkText(c);
        }
        if (dynamic_cast<DeviceMainDlg*>(&m_window))
            checkContentFrame();
        checkLabelsKeepClear(interactive);
        checkRowsAligned();
        for (std::size_t i = 0; i < interactive.size(); ++i) {
            for (std::size_t j = i + 1; j < interactive.size(); ++j) {
                if (interactive[i].second.intersects(interactive[j].second))
                    add(QStringLiteral("%1 at %2 overlaps %3 at %4")
                            .arg(describe(interactive[i].first), rectText(interactive[i].second),
                                 describe(interactive[j].first), rectText(interactive[j].second)));
            }
        }
        return m_faults;
    }

private:
    static QString rectText(const QRect& r) {
        return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }

    void add(const QString& fault) { m_faults << fault; }

    // A page's controls stay inside the page; the window's own controls inside the window.
    QRect frameOf(QWidget* c) const {
        QWidget* page = c;
        while (page->parentWidget() && page->parentWidget() != &m_window)
            page = page->parentWidget();
        if (page == c)
            return m_window.rect();
        return QRect(page->mapTo(&m_window, QPoint(0, 0)), page->size());
    }

    static bool isPageContainer(const ui::Control* c) {
        const int id = c->id();
        return dynamic_cast<const ui::Panel*>(c) && id >= MainControl::HomePage &&
               id <= MainControl::ProgramSettingsPage && id != MainControl::ButtonsInner;
    }

    // The page shown fills the content frame exactly: it neither starts outside it (and
    // draws over its border) nor leaves a part of it bare; the frame stays clear of the
    // tab column.
    void checkContentFrame() {
        const ui::Control* frame = m_window.control(MainControl::ContentFrame);
        if (!frame || !frame->isVisibleTo(&m_window)) {
            add(QStringLiteral("no content frame is shown"));
            return;
        }
        const QRect frameRect = frame->geometry();
        const ui::Control* column = m_window.control(MainControl::TabBackground);
        if (column && column->isVisibleTo(&m_window) && column->geometry().intersects(frameRect))
            add(QStringLiteral("the content frame %1 runs into the tab column %2")
                    .arg(rectText(frameRect), rectText(column->geometry())));
        for (QWidget* w : m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            auto* c = dynamic_cast<ui::Control*>(w);
            if (c && isPageContainer(c) && c->isVisibleTo(&m_window) && c->geometry() != frameRect)
                add(QStringLiteral("%1 at %2 does not fill the content frame %3")
                        .arg(describe(c), rectText(c->geometry()), rectText(frameRect)));
        }
    }

    // Parts of a control that takes the clicks itself (a list's rows) are not counted twice.
    bool insideInteractive(QWidget* c) const {
        for (QWidget* up = c->parentWidget(); up && up != &m_window; up = up->parentWidget()) {
            if (isInteractive(up))
                return true;
        }
        return false;
    }

    void tooWide(const ui::Control* c, const QString& text, int advance, int room) {
        add(QStringLiteral("%1: \"%2\" needs %3 pixels, has %4")
                .arg(describe(c), text)
                .arg(advance)
                .arg(room));
    }

    void checkText(const ui::Control* c) {
        const QFontMetrics metrics(c->font());
        if (auto* tabs = dynamic_cast<const ui::TabControl*>(c)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect room = tabs->itemTextRect(i);
                if (room.isEmpty())
                    continue;
                // A long name wraps onto a second line.
                const QRect needed =
                    metrics.boundingRect(QRect(0, 0, room.width(), 100000),
                                         Qt::AlignLeft | Qt::TextWordWrap, tabs->itemText(i));
                if (needed.width() > room.width() || needed.height() > room.height() ||
                    !tabs->rect().contains(tabs->itemRect(i)))
                    tooWide(c, tabs->itemText(i), needed.width(), room.width());
            }
            return;
        }
        if (auto* keys = dynamic_cast<const ui::KeyList*>(c)) {
            for (int i = 0; i < keys->count(); ++i) {
                if (!keys->rect().contains(keys->rowRect(i)))
                    add(QStringLiteral("%1: row %2 \"%3\" is cut off")
                            .arg(describe(c))
                            .arg(i)
                            .arg(keys->name(i)));
            }
            return;
        }
        if (dynamic_cast<const ui::TextField*>(c) || dynamic_cast<const ui::ListBox*>(c))
            return; // they scroll their text
        const QString text = c->text();
        if (text.isEmpty() || dynamic_cast<const ui::Picture*>(c))
            return;
        const auto* label = dynamic_cast<const ui::StaticText*>(c);
        if (label && label->wordWrap()) {
            const QRect needed = metrics.boundingRect(QRect(0, 0, c->width(), 100000),
                                                      int(c->alignment()) | Qt::TextWordWrap, text);
            if (needed.height() > c->height() || needed.width() > c->width())
                add(QStringLiteral("%1: wrapped, \"%2\" needs %3x%4 pixels, has %5x%6")
                        .arg(describe(c), text)
                        .arg(needed.width())
                        .arg(needed.height())
                        .arg(c->width())
                        .arg(c->height()));
            return;
        }
        const int advance = metrics.horizontalAdvance(text);
        if (advance > textRoom(c))
            tooWide(c, text, advance, textRoom(c));
        else if (metrics.height() > c->height())
            add(QStringLiteral("%1: \"%2\" is %3 pixels high, the control %4")
                    .arg(describe(c), text)
                    .arg(metrics.height())
                    .arg(c->height()));
    }

    // The horizontal extent of a one-line label's text, in window coordinates.
    static QRect textExtent(const ui::StaticText* label, const QRect& r) {
        const int advance = QFontMetrics(label->font()).horizontalAdvance(label->text());
        const Qt::Alignment align =
            QStyle::visualAlignment(label->layoutDirection(), label->alignment());
        int left = r.left();
        if (align & Qt::AlignRight)
            left = r.right() + 1 - advance;
        else if (align & Qt::AlignHCenter)
            left = r.left() + (r.width() - advance) / 2;
        return QRect(left, r.top(), advance, r.height());
    }

    // A label's text keeps a gap to the controls beside it: it neither runs under one nor
    // touches it.
    void checkLabelsKeepClear(const std::vector<std::pair<QWidget*, QRect>>& interactive) {
        for (QWidget* w : m_window.findChildren<QWidget*>()) {
            auto* label = dynamic_cast<ui::StaticText*>(w);
            if (!label || label->wordWrap() || label->text().isEmpty() ||
                !label->isVisibleTo(&m_window) || label->size().isEmpty())
                continue;
            const QRect text =
                textExtent(label, QRect(label->mapTo(&m_window, QPoint(0, 0)), label->size()));
            const int gap = std::max(2, int(std::lround(4 * m_window.interfaceScale())));
            for (const auto& [other, rect] : interactive) {
                if (other->isAncestorOf(label) || rect.bottom() < text.top() ||
                    rect.top() > text.bottom())
                    continue;
                if (text.adjusted(-gap, 0, gap, 0).intersects(rect))
                    add(QStringLiteral("%1: its text %2 touches %3 at %4")
                            .arg(describe(label), rectText(text), describe(other), rectText(rect)));
            }
        }
    }

    // Controls of one kind side by side in a row (check boxes, radio buttons, drop-downs)
    // stand at one height.
    void checkRowsAligned() {
        std::vector<const ui::Control*> row;
        for (QWidget* w : m_window.findChildren<QWidget*>()) {
            auto* c = dynamic_cast<ui::Control*>(w);
            if (c && c->isVisibleTo(&m_window) &&
                (dynamic_cast<ui::CheckBox*>(c) || dynamic_cast<ui::RadioButton*>(c) ||
                 dynamic_cast<ui::ComboBox*>(c)))
                row.push_back(c);
        }
        for (std::size_t i = 0; i < row.size(); ++i) {
            for (std::size_t j = i + 1; j < row.size(); ++j) {
                const ui::Control* a = row[i];
                const ui::Control* b = row[j];
                if (a->parentWidget() != b->parentWidget() || typeid(*a) != typeid(*b))
                    continue;
                const QRect ra = a->geometry();
                const QRect rb = b->geometry();
                const bool sameRow = ra.top() <= rb.bottom() && rb.top() <= ra.bottom();
                if (sameRow && std::abs(ra.center().y() - rb.center().y()) > 1)
                    add(QStringLiteral("%1 at %2 and %3 at %4 share a row but not its height")
                            .arg(describe(a), rectText(ra), describe(b), rectText(rb)));
            }
        }
    }

    ui::Dialog& m_window;
    QStringList m_faults;
};

// Lets the window finish what a view change or a new size posted (layouts, hides, shows).
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The views a user reaches from the window: the home page, every tab, the program settings.
struct View {
    const char* name;
    std::function<void(DeviceMainDlg&)> show;
};

// A tab is reached from the device list, which shows the configuration view.
std::function<void(DeviceMainDlg&)> tab(int index) {
    return [index](DeviceMainDlg& w) {
        w.showConfigurationView();
        w.selectTab(index);
    };
}

const View kViews[] = {
    {"home", [](DeviceMainDlg& w) { w.showHomeView(); }},
    {"buttons", tab(TabIndex::Buttons)},
    {"performance", tab(TabIndex::Performance)},
    {"macros", tab(3)},
    {"lighting", tab(TabIndex::Lighting)},
    {"device settings", tab(5)},
    {"program settings", [](DeviceMainDlg& w) { w.showProgramSettings(); }},
};

class LayoutGeometry : public WindowTest {
protected:
    vm::VirtualDeviceSet devices;

    // Every fault of every view on this screen, in the language now in use.
    QStringList faultsOn(const Screen& screen, int lcid) {
        window->fitToArea(availableArea(screen), window->devicePixelRatioF());
        settle();
        QStringList faults;
        LayoutWalker walker(*window);
        for (const View& view : kViews) {
            view.show(*window);
            settle();
            for (const QString& fault : walker.faults())
                faults << QStringLiteral("%1x%2 at %3, language %4, %5: %6")
                              .arg(screen.size.width())
                              .arg(screen.size.height())
                              .arg(screen.scale)
                              .arg(lcid)
                              .arg(QString::fromLatin1(view.name), fault);
        }
        return faults;
    }

    // The real pages, with the demo mice attached, once the first mouse was read back.
    void start() {
        devices = vm::makeVirtualDevices();
        bus = devices.bus;
        hid::DeviceManager::installHidApi(bus);
        startWindow([](DeviceMainDlg& w) { addConfigurationPages(w); });
        waitForStart();
        // The start (and its read-back) is the worker's first task: once a task queued
        // after it has run, the pages show the first mouse.
        ASSERT_TRUE(waitUntil([&] { return window->connectionShown(); }, 60000))
            << "the demo mice were not found";
        waitForWorker();
        window->showConfigurationView();
        settle();
    }
};

// The desktop's scaling this process runs at: Qt takes QT_SCALE_FACTOR once, at start,
// so CTest runs this program once per scale.
double desktopScale() {
    bool ok = false;
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && scale > 0 ? scale : 1.0;
}

const QSize kScreens[] = {QSize(1366, 768), QSize(1920, 1080), QSize(2560, 1440)};

// The pop-ups a user opens from the window: each is walked while it runs, then closed.
struct PopUp {
    const char* title; // the pop-up's window title
    std::function<void(DeviceMainDlg&)> open;
};
QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

const PopUp kPopUps[] = {
    {"ProfileDlg",
     [](DeviceMainDlg& w) { w.OnMessage(MainControl::Profile, ui::Notify::Click, 0, 0); }},
    {"About Window",
     [](DeviceMainDlg& w) { w.OnMessage(MainControl::Logo, ui::Notify::Click, 0, 0); }},
    // A question with two answers: the DPI reset's, one of the longest the pages ask.
    {pages::kMessageBoxTitle,
     [](DeviceMainDlg& w) {
         pages::showMessage(text(258), &w, text(253), pages::MessageTwoButtons);
     }},
    {pages::kPaletteTitle, [](DeviceMainDlg& w) { pages::pickColour(&w, 0x3366CC); }},
    {pages::kMacroKeyDlgTitle, [](DeviceMainDlg& w) { pages::MacroKeyDlg::ask(&w); }},
    // The applications of a profile: once for the default profile (its note shown), once
    // for another with an application to add in one click (the default button shown).
    {pages::kProfileAppsDlgTitle,
     [](DeviceMainDlg& w) {
         pages::ProfileAppsDlg::ask(&w, {1, text(61) + QStringLiteral(" 1"), {}, {}});
     }},
    {pages::kProfileAppsDlgTitle,
     [](DeviceMainDlg& w) {
         pages::ProfileAppsDlg::ask(&w, {2,
                                         text(61) + QStringLiteral(" 2"),
                                         QStringLiteral("org.gnome.TextEditor"),
                                         {QStringLiteral("steam_app_730")}});
     }},
};

// The languages shipped first; every screen size and scale is checked in them.
constexpr int kFirstLanguages[] = {1033, 2052};

// Every screen size in the first two languages.
TEST_F(LayoutGeometry, FirstLanguagesFitEveryScreenSize) {
    start();
    QStringList faults;
    for (int lcid : kFirstLanguages) {
        window->setLanguage(lcid);
        for (const QSize size : kScreens)
            faults << faultsOn({size, desktopScale()}, lcid);
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

// The pop-ups a user opens from the window, on the smallest screen, in every installed
// language.
TEST_F(LayoutGeometry, PopUpsFitTheSmallestScreenInEveryLanguage) {
    start();
    QStringList faults;
    for (int lcid : installedLanguages()) {
        window->setLanguage(lcid);
        window->showConfigurationView();
        window->fitToArea(availableArea({kScreens[0], desktopScale()}),
                          window->devicePixelRatioF());
        settle();
        for (const PopUp& popUp : kPopUps) {
            const auto walked = whenModal(QString::fromLatin1(popUp.title), [&](ui::Dialog& shown) {
                for (const QString& fault : LayoutWalker(shown).faults())
                    faults << QStringLiteral("language %1, %2: %3")
                                  .arg(lcid)
                                  .arg(QString::fromLatin1(popUp.title), fault);
                shown.endModal(ui::ResultSecond);
            });
            popUp.open(*window);
            EXPECT_TRUE(walked.ran()) << popUp.title << " did not open";
        }
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

// Every installed language (Arabic mirrored) on the common screens, at the scales most
// desktops use; a new language file is checked without a change here.
TEST_F(LayoutGeometry, EveryLanguageFitsCommonScreens) {
    if (desktopScale() > 1.5)
        GTEST_SKIP() << "every language is checked at scales 1.0 and 1.5";
    start();
    const std::vector<int> languages = installedLanguages();
    ASSERT_GE(languages.size(), 2u);
    QStringList faults;
    for (int lcid : languages) {
        if (std::find(std::begin(kFirstLanguages), std::end(kFirstLanguages), lcid) !=
            std::end(kFirstLanguages))
            continue; // every size above
        window->setLanguage(lcid);
        for (const QSize size : {kScreens[0], kScreens[1]})
            faults << faultsOn({size, desktopScale()}, lcid);
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

} // namespace
} // namespace corvane::app::test
