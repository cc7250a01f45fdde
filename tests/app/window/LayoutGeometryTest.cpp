// Every view of the main window laid out inside its frame, in every installed language, at
// the screen sizes and interface scales people use: no control outside its page, no two
// controls one can click lying on top of each other, no text wider than its control
// (measured with the control's own font).
#include "WindowTest.h"

#include "app/window/MainWindowIds.h"
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

#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>

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
QRect availableArea(const Screen& screen) {
    return QRect(0, 0, int(screen.size.width() / screen.scale),
                 int((screen.size.height() - 40) / screen.scale));
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
    if (dynamic_cast<const ui::ComboBox*>(c))
        return c->width() - 28; // the arrow
    return c->width();
}

class LayoutWalker {
public:
    explicit LayoutWalker(DeviceMainDlg& window) : m_window(window) {}

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

    // A page's controls stay inside the page; the page and the window's own controls stay
    // inside the window, and a page right of the tab column when the column is shown.
    QRect frameOf(QWidget* c) const {
        QWidget* page = c;
        while (page->parentWidget() && page->parentWidget() != &m_window)
            page = page->parentWidget();
        if (page == c)
            return ownFrame(c);
        return QRect(page->mapTo(&m_window, QPoint(0, 0)), page->size());
    }

    QRect ownFrame(QWidget* c) const {
        const ui::Control* column = m_window.control(MainControl::TabBackground);
        const auto* panel = dynamic_cast<ui::Panel*>(c);
        if (panel && column && column->isVisible() && c != column) {
            const int id = panel->id();
            if (id >= MainControl::HomePage && id <= MainControl::ProgramSettingsPage) {
                QRect content = m_window.rect();
                content.setLeft(column->geometry().right() + 1);
                return content;
            }
        }
        return m_window.rect();
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

    DeviceMainDlg& m_window;
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

const View kViews[] = {
    {"home", [](DeviceMainDlg& w) { w.showHomeView(); }},
    {"buttons", [](DeviceMainDlg& w) { w.selectTab(TabIndex::Buttons); }},
    {"performance", [](DeviceMainDlg& w) { w.selectTab(TabIndex::Performance); }},
    {"macros", [](DeviceMainDlg& w) { w.selectTab(3); }},
    {"lighting", [](DeviceMainDlg& w) { w.selectTab(TabIndex::Lighting); }},
    {"device settings", [](DeviceMainDlg& w) { w.selectTab(5); }},
    {"program settings", [](DeviceMainDlg& w) { w.showProgramSettings(); }},
};

class LayoutGeometry : public WindowTest {
protected:
    // Every fault of every view on this screen, in the language now in use.
    QStringList faultsOn(const Screen& screen, int lcid) {
        window->fitToArea(availableArea(screen), screen.scale);
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

    void start() {
        startWindow();
        waitForStart();
        window->showConfigurationView();
        settle();
    }
};

// Both cases are switched off until the faults they report on today's window are mended:
// the window background keeps its design size when the window is drawn smaller (1366x768
// at 1.0 and 1.5, 1920x1080 at 1.5), the buttons page's inner panel is one pixel taller
// than its page at 1366x768 x2, and the caption's version line is lower than its text at
// the smallest interface scale. Run them with --gtest_also_run_disabled_tests.

// The smallest common screen in every installed language: the longest texts meet the
// least room there.
TEST_F(LayoutGeometry, DISABLED_EveryLanguageFitsA1366x768Screen) {
    start();
    const std::vector<int> languages = installedLanguages();
    ASSERT_GE(languages.size(), 2u);
    QStringList faults;
    for (int lcid : languages) {
        window->setLanguage(lcid);
        faults << faultsOn({QSize(1366, 768), 1.0}, lcid);
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

// Larger screens and the desktop's scaling, in English (the scale changes the room every
// text has the same way in every language).
TEST_F(LayoutGeometry, DISABLED_EveryScreenSizeAndScaleFits) {
    start();
    window->setLanguage(1033);
    QStringList faults;
    for (const QSize size : {QSize(1366, 768), QSize(1920, 1080), QSize(2560, 1440)}) {
        for (double scale : {1.0, 1.5, 2.0}) {
            if (size == QSize(1366, 768) && scale == 1.0)
                continue; // covered by every language above
            faults << faultsOn({size, scale}, 1033);
        }
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

} // namespace
} // namespace corvane::app::test
