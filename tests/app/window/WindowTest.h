#pragma once
// The main window on Qt's offscreen platform with its device worker running against
// virtual devices, the installation's data/ folder, a fresh data folder, per-user values
// in memory, recorded message boxes (or the real ones) and a recorded quit.

#include "TestSupport.h"
#include "app/start/SharedUserValues.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MessageBoxes.h"
#include "app/window/PageMessageBoxes.h"
#include "pages/host/PageControls.h"
#include "support/EventLoop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace corvane::vm {
class VirtualMouse;
class WiredMouse;
} // namespace corvane::vm

namespace corvane::app::test {

// Runs the event loop until pred holds or the time is up; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 10000);

using corvane::test::spin;
// Delivers every event posted so far (what the worker's host posted to the window) and
// what those post in turn, without waiting for any time.
inline void deliverPosted() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The mouse's report rate in Hz, as the virtual firmware reads what it kept; 0 before
// it was sent one.
int reportRateHz(const vm::WiredMouse& mouse);

QString sourceData();
// The text numbered id of the English language file.
QString englishText(int id);

using corvane::test::whenModal;

struct ShownMessage {
    QString text;
    QString title;
    int style;
};

// Answers every box at once with `answer` and writes it down. The tests of the saving
// wait window give the window PageMessageBoxes instead.
class RecordingMessageBoxes : public MessageBoxes {
public:
    int showMessage(const QString& text, QWidget*, const QString& title, int style) override {
        shown.push_back({text, title, style});
        return answer;
    }
    bool showSaveWait(QWidget*, bool) override { return false; }
    void hideSaveWait() override {}

    std::vector<ShownMessage> shown;
    int answer = 1;
};

// A page that writes down what the window asks of it.
class RecordingPage : public Page {
public:
    explicit RecordingPage(std::vector<std::string>& log, std::string name)
        : log(log), name(std::move(name)) {}

    void createControls(pages::PageControls& controls) override {
        container = &controls.container();
        log.push_back(name + " create");
    }
    int onMessage(int controlId, int code, int, int) override {
        messages.push_back({controlId, code});
        return 0;
    }
    bool onWindowMessage(int message, int, int) override {
        windowMessages.push_back(message);
        return message == takenMessage;
    }
    void reload() override {
        ++reloads;
        log.push_back(name + " reload");
    }
    void applyTexts() override { log.push_back(name + " texts"); }
    void closePopups() override { ++popupCloses; }
    void showDeviceDetails(const catalog::DeviceDetails& details) override {
        lastDetails = details;
        ++detailsShown;
    }

    std::vector<std::string>& log;
    std::string name;
    ui::Panel* container = nullptr;
    std::vector<std::pair<int, int>> messages;
    std::vector<int> windowMessages;
    int takenMessage = -1;
    int reloads = 0;
    int popupCloses = 0;
    int detailsShown = 0;
    catalog::DeviceDetails lastDetails;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes and shows the window; the worker starts with task 1 at once. Pages are
    // added by `addPages` before the window exists.
    void startWindow(const std::function<void(DeviceMainDlg&)>& addPages = {});
    // The same with another data folder (with a trailing slash).
    void startWindowIn(const QString& dataFolder,
                       const std::function<void(DeviceMainDlg&)>& addPages = {});
    // Waits until the worker has taken the start tasks (1 and 23) and the window has
    // shown what the start found.
    void waitForStart();
    // Waits until the worker has run every task queued so far (a barrier task queued
    // behind them has run) and the window has taken what they posted.
    void waitForWorker();

    // Clicks the control's centre (or `at`, in its coordinates) with the left button.
    void click(int controlId, QPoint at = {});
    bool shown(int controlId) const;
    QString textOf(int controlId) const;

    QTemporaryDir dataDir;
    MemoryUserValues memoryValues;
    std::unique_ptr<SharedUserValues> userValues;
    RecordingMessageBoxes messageBoxes;
    // The page layer's message box and saving wait window, for the tests that set
    // windowMessageBoxes to them before starting the window.
    PageMessageBoxes pageMessageBoxes;
    MessageBoxes* windowMessageBoxes = &messageBoxes;
    std::vector<int> quits;
    bool trayAvailable = true;
    std::shared_ptr<vm::VirtualMouse> bus;
    bool watchVirtualHotplug = false;
    // The window builds each page when it is first shown; most tests here reach the pages
    // they added from the start, so the fixture builds them all at once unless told not to.
    bool buildPagesAtStart = true;
    // Changes the window's context last, before the window is made.
    std::function<void(WindowContext&)> adjustContext;
    std::unique_ptr<DeviceMainDlg> window;
};

} // namespace corvane::app::test
