#pragma once
// The pages in the program's main window, on Qt's offscreen platform: the virtual mice
// attached, the installed data/ folder (config.xml, device files, language files), a real
// store in a temporary data folder, the device worker running, per-user values in memory
// and message boxes the test answers. Helpers act on a page's controls by the page's own
// numbers, read the stored settings of the current profile, list the tasks the pages
// queued, and read what the virtual mouse runs with, in its own reading of the reports.
//
//   class MyPageTest : public PageWindowTest {};
//   TEST_F(MyPageTest, Something) {
//       startWithPage<PerformancePage>(PageSlot::Performance);
//       click(PageSlot::Performance, 123);
//       EXPECT_EQ(setting(u"report_rate"), "2");
//       EXPECT_EQ(tasks, std::vector<int>{11});
//       waitForWorker();
//       EXPECT_EQ(held().reportRateHz, 500);
//   }

#include "app/window/DeviceMainDlg.h"
#include "pages/host/MessageBoxes.h"
#include "pages/host/PageControls.h"
#include "pages/host/SystemIntegration.h"
#include "pages/host/UserValues.h"
#include "protocol/transport/ReportPacket.h"
#include "support/EventLoop.h"
#include "virtualmouse/HeldSettings.h"
#include "virtualmouse/MouseSettings.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace corvane::vm {
class MouseDevice;
class Receiver;
class VirtualMouse;
class WiredMouse;
} // namespace corvane::vm

namespace corvane::pages {
class FileDialogs;
class SystemIntegration;
} // namespace corvane::pages

namespace corvane::pages::test {

using Kept = vm::MouseSettings::Kept;

// Runs the event loop until pred holds or the time is up; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 10000);
using corvane::test::spin;
// The text numbered id of the installed English language file.
QString englishText(int id);
using corvane::test::whenModal;

// Per-user values in memory.
class MemoryUserValues : public UserValues {
public:
    int readUserValue(const QString& name) override;
    bool writeUserValue(const QString& name, const QString& text) override;
    std::map<QString, QString> values;
};

struct ShownMessage {
    QString text;
    QString title;
    int style;
};

// Answers every box at once with `answer` and writes it down; counts the saving wait
// windows asked for.
class RecordingMessageBoxes : public MessageBoxes {
public:
    int showMessage(const QString& text, QWidget*, const QString& title, int style) override;
    bool showSaveWait(QWidget*, bool showSaveTips) override;
    void hideSaveWait() override {}

    std::vector<ShownMessage> shown;
    int answer = 1;
    int saveWaits = 0; // calls while the device asked for the window
};

// The desktop outside the window: writes down what the pages ask of it.
class RecordingSystem : public SystemIntegration {
public:
    bool setAutorun(bool on) override;
    bool isAutorunEnabled() const override { return autorun; }
    bool openMouseControlPanel() override;
    bool openUrl(const QString& url) override;
    bool deleteTree(const QString&) override { return false; }

    bool autorun = false;
    int mouseSettingsOpened = 0;
    std::vector<QString> urls;
};

// Which virtual devices are plugged in when the window starts (before startWindow).
struct AttachedDevices {
    bool wiredM1 = true;                 // device type 1 on its cable ("CVM1", 0x1209:0xC0A1)
    bool receiverM1 = false;             // device type 1 through its receiver, mouse linked
    bool wiredM2 = false;                // device type 201 on its cable ("CVM2", 0x1209:0xC0B1)
    std::uint8_t sensorCode = 0x11;      // what GetInfo reports for every mouse
    std::uint8_t reportRateClass = 0x20; // rate capability 6; 0x40 gives 7 (all rates)
};

class PageWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes and shows the main window with the pages `addPages` adds (made with the
    // window as their host), and waits until the worker has read the mouse back and the
    // pages were loaded. Fails the test when a page's control was refused.
    void startWindow(const std::function<void(app::DeviceMainDlg&)>& addPages);
    template <class P> P* startWithPage(PageSlot slot) {
        P* made = nullptr;
        startWindow([&](app::DeviceMainDlg& w) {
            auto page = std::make_unique<P>(w.pageHost());
            made = page.get();
            w.addPage(slot, std::move(page));
        });
        return made;
    }
    // Destroys the window (its worker stopped) and closes the store, as at the end of a
    // test; a test may then start another window.
    void stopWindow();
    // Selects the tab of a page (not the program settings page, which has none).
    void showPage(PageSlot slot);

    // --- the page's controls, by the page's own numbers ---
    ui::Control* control(PageSlot slot, int local) const;
    template <class T> T* find(PageSlot slot, int local) const {
        return dynamic_cast<T*>(control(slot, local));
    }
    // Left click at the control's centre, or at `at` in its coordinates.
    void click(PageSlot slot, int local, QPoint at = {});
    // Gives the control the keyboard focus as a Tab would.
    void focus(PageSlot slot, int local);
    // Focus, select everything, type `text` key by key (each key its own change
    // notification), then leave the field (FocusLost) unless `leave` is false.
    void typeInto(PageSlot slot, int local, const QString& text, bool leave = true);
    void pressKey(PageSlot slot, int local, Qt::Key key);
    // Moves the keyboard focus away from whatever has it.
    void dropFocus();

    // --- the store, the queue and the mouse ---
    int profile() const;
    // The stored text of a setting of the current profile (empty when missing).
    QString setting(QStringView key) const;
    int settingInt(QStringView key) const;
    bool writeSetting(QStringView key, int value);
    // The mouse the current profile goes to (the wired M1 when attached, else the M1 behind
    // its receiver, else the wired M2).
    vm::MouseDevice& mouse() const;
    std::optional<Kept> kept(std::uint8_t writeCode) const;
    // Waits until what the mouse keeps of a write command satisfies pred.
    bool waitForKept(std::uint8_t writeCode, const std::function<bool(const Kept&)>& pred,
                     int timeoutMs = 5000) const;
    // What the mouse runs with, in its own reading (DPI per stage, rate in Hz, each
    // button's function...), never the program's decoding of it.
    vm::HeldSettings held() const;
    // Waits until what the mouse runs with satisfies pred.
    bool waitForHeld(const std::function<bool(const vm::HeldSettings&)>& pred,
                     int timeoutMs = 5000) const;
    // Waits until the worker has taken every queued task and is idle again.
    void waitForWorker();

    QTemporaryDir dataDir;
    MemoryUserValues memoryValues;
    std::unique_ptr<UserValues> userValues;
    RecordingMessageBoxes messageBoxes;
    // The desktop the window gets when a test sets no `system` of its own.
    RecordingSystem recordingSystem;
    AttachedDevices devices;
    // Set before startWindow: the desktop outside the window, the file dialogs, and an
    // installation folder in place of data/ (config.xml, device/, language/).
    SystemIntegration* system = nullptr;
    FileDialogs* fileDialogs = nullptr;
    QString installation;
    std::shared_ptr<vm::VirtualMouse> bus;
    std::shared_ptr<vm::WiredMouse> wiredM1;
    std::shared_ptr<vm::Receiver> receiverM1;
    std::shared_ptr<vm::WiredMouse> wiredM2;
    // Every task code queued through the window, in order (start-up's own are not).
    std::vector<int> tasks;
    std::unique_ptr<app::DeviceMainDlg> window;
};

} // namespace corvane::pages::test
