#include "app/demo/ScreenshotViews.h"

#include "app/window/DeviceMainDlg.h"
#include "pages/buttons/ButtonPage.h"
#include "pages/host/PageControls.h"
#include "pages/macros/MacroPage.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/ListBox.h"
#include "ui/views/KeyList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace corvane::app {

namespace {

constexpr int kButtonsTab = 1;
constexpr int kMacrosTab = 3;

// What the button page view gives its fourth key: the system menu's "Copy" (Ctrl+C).
constexpr int kShownKeyRow = 3;
constexpr int kCopyValue = 9;

// The word typed into the recorder: Qt key, kernel scan code, text, and the pause after it.
struct TypedKey {
    int key;
    unsigned kernelCode;
    const char* text;
};
constexpr TypedKey kWord[] = {
    {Qt::Key_H, 35, "h"}, {Qt::Key_E, 18, "e"}, {Qt::Key_L, 38, "l"},
    {Qt::Key_L, 38, "l"}, {Qt::Key_O, 24, "o"},
};
constexpr int kHeldMs = 60;
constexpr int kPauseMs = 90;

void notify(DeviceMainDlg& window, PageSlot slot, int local, int p1 = 0, int p2 = 0) {
    window.OnMessage(pages::pageControlId(slot, local), ui::Notify::Click, p1, p2);
}

void sendKey(DeviceMainDlg& window, QEvent::Type type, const TypedKey& key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    QKeyEvent event(type, key.key, Qt::NoModifier, key.kernelCode + 8, 0, 0,
                    QString::fromLatin1(key.text));
    QApplication::sendEvent(target, &event);
}

void showBinding(DeviceMainDlg& window) {
    namespace C = pages::ButtonControl;
    window.selectTab(kButtonsTab);
    pages::PageControls* controls = window.pageControls(PageSlot::Buttons);
    if (!controls)
        return;
    auto* keys = controls->find<ui::KeyList>(C::KeyList);
    const int row = std::min(kShownKeyRow, keys->count() - 1);
    keys->select(row);
    notify(window, PageSlot::Buttons, C::KeyList, row);
    auto* menu = controls->find<ui::ComboBox>(C::SystemMenu);
    const int item = menu->findData(kCopyValue);
    menu->setCurrentIndex(item);
    notify(window, PageSlot::Buttons, C::SystemMenu, item, kCopyValue);
}

void recordWord(DeviceMainDlg& window, const std::function<void()>& done) {
    namespace C = pages::MacroControl;
    window.selectTab(kMacrosTab);
    auto* page = dynamic_cast<pages::MacroPage*>(window.page(PageSlot::Macros));
    if (!page) {
        done();
        return;
    }
    notify(window, PageSlot::Macros, C::NewMacro);
    notify(window, PageSlot::Macros, C::Record);
    // Each key's press and release, with real time between them for the delays.
    QPointer<DeviceMainDlg> target(&window);
    auto step = std::make_shared<std::function<void(int)>>();
    *step = [target, step, done](int i) {
        if (!target)
            return;
        const int count = int(std::size(kWord));
        if (i == 2 * count) {
            notify(*target, PageSlot::Macros, C::Record);
            if (pages::PageControls* controls = target->pageControls(PageSlot::Macros)) {
                auto* steps = controls->find<ui::ListBox>(C::EventList);
                steps->setCurrentIndex(2);
                notify(*target, PageSlot::Macros, C::EventList, 2);
            }
            done();
            return;
        }
        const TypedKey& key = kWord[i / 2];
        sendKey(*target, i % 2 == 0 ? QEvent::KeyPress : QEvent::KeyRelease, key);
        QTimer::singleShot(i % 2 == 0 ? kHeldMs : kPauseMs, target, [step, i] { (*step)(i + 1); });
    };
    (*step)(0);
}

} // namespace

bool prepareScreenshotView(DeviceMainDlg& window, const QString& view,
                           const std::function<void()>& done) {
    if (view == u"buttons") {
        showBinding(window);
        done();
        return true;
    }
    if (view == u"macros") {
        recordWord(window, done);
        return true;
    }
    return false;
}

} // namespace corvane::app
