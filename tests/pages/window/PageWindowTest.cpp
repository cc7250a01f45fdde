#include "window/PageWindowTest.h"

#include "app/start/SharedUserValues.h"
#include "hid/DeviceManager.h"
#include "i18n/IniFile.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "ui/base/Settings.h"
#include "ui/views/TabControl.h"
#include "virtualmouse/VirtualMouse.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include "support/OffscreenApplication.h"
#include "support/WaitUntil.h"

namespace corvane::pages::test {
namespace {

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new corvane::test::OffscreenApplication(
        "pages_window_tests", [] { QApplication::setQuitOnLastWindowClosed(false); }));

QString installedData() {
    return QStringLiteral(CORVANE_SOURCE_DIR "/data");
}

// Delivers every event posted so far (the worker's calls into the window, notifications
// the controls posted) and what those post in turn, without waiting for any time.
void deliverPosted() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Tab item ids of the pages that have a tab (the program settings page has none).
constexpr int kTabItems[] = {2, 3, 4, 5, 7, 0};

} // namespace

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    return corvane::test::waitUntil(pred, timeoutMs);
}

QString englishText(int id) {
    QFile file(installedData() + QStringLiteral("/language/1033.lan"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return i18n::IniFile::fromBytes(file.readAll(), QByteArrayLiteral("UTF-8"))
        .value(u"LAN", QString::number(id));
}

int MemoryUserValues::readUserValue(const QString& name) {
    const auto it = values.find(name);
    return it == values.end() ? 0 : it->second.toInt();
}

bool MemoryUserValues::writeUserValue(const QString& name, const QString& text) {
    values[name] = text;
    return true;
}

int RecordingMessageBoxes::showMessage(const QString& text, QWidget*, const QString& title,
                                       int style) {
    shown.push_back({text, title, style});
    return answer;
}

bool RecordingMessageBoxes::showSaveWait(QWidget*, bool showSaveTips) {
    if (showSaveTips)
        ++saveWaits;
    return showSaveTips;
}

bool RecordingSystem::setAutorun(bool on) {
    autorun = on;
    return true;
}

bool RecordingSystem::openMouseControlPanel() {
    ++mouseSettingsOpened;
    return true;
}

bool RecordingSystem::openUrl(const QString& url) {
    urls.push_back(url);
    return true;
}

void PageWindowTest::SetUp() {
    ASSERT_TRUE(dataDir.isValid());
    ASSERT_TRUE(QDir(dataDir.path()).mkpath(QStringLiteral("db")));
    store::ProfileDatabase::instance().close();
    i18n::setProgramFolder(installedData());
    i18n::setCurrentLcid(1033);
    ui::setSkinFolder(installedData() + QStringLiteral("/skins/default/"));
    ui::setDeviceName(QStringLiteral("Corvane"));
    userValues = std::make_unique<app::SharedUserValues>(memoryValues);
}

void PageWindowTest::TearDown() {
    stopWindow();
}

void PageWindowTest::stopWindow() {
    if (window) {
        window->DestroyWindow();
        if (protocol::DeviceWorker* worker = window->worker()) {
            EXPECT_TRUE(worker->waitForExit(std::chrono::seconds(10)));
        }
        window.reset();
    }
    // Work posted by the worker for a window that is gone is dropped here.
    deliverPosted();
    hid::DeviceManager::installHidApi(nullptr);
    store::ProfileDatabase::instance().close();
}

void PageWindowTest::startWindow(const std::function<void(app::DeviceMainDlg&)>& addPages) {
    bus = std::make_shared<vm::VirtualMouse>();
    if (devices.wiredM1) {
        vm::WiredMouseConfig config;
        config.productId = 0xC0A1;
        config.mouse.deviceId = "CVM1";
        config.mouse.sensorCode = devices.sensorCode;
        config.mouse.reportRateClass = devices.reportRateClass;
        wiredM1 = bus->addWiredMouse(config);
    }
    if (devices.receiverM1) {
        vm::ReceiverConfig config;
        config.productId = 0xC0A2;
        config.mouse.deviceId = "CVM1";
        config.mouse.sensorCode = devices.sensorCode;
        config.mouse.reportRateClass = devices.reportRateClass;
        receiverM1 = bus->addReceiver(config);
    }
    if (devices.wiredM2) {
        vm::WiredMouseConfig config;
        config.productId = 0xC0B1;
        config.mouse.deviceId = "CVM2";
        config.mouse.sensorCode = devices.sensorCode;
        config.mouse.reportRateClass = devices.reportRateClass;
        wiredM2 = bus->addWiredMouse(config);
    }
    hid::DeviceManager::installHidApi(bus);

    app::WindowContext context;
    context.exeFolder = installation.isEmpty() ? installedData() : installation;
    context.system = system ? system : &recordingSystem;
    context.fileDialogs = fileDialogs;
    // Nothing is published on the test machine's own session bus.
    context.serviceBus.publish = false;
    context.dataFolder = dataDir.path() + u'/';
    context.userValues = userValues.get();
    context.messageBoxes = &messageBoxes;
    context.quit = [](int) {};
    context.trayAvailable = [] { return true; };
    context.delays.arrival = context.delays.removal = std::chrono::milliseconds(1);
    context.delays.infoRetry = context.delays.lighting = std::chrono::milliseconds(1);
    context.delays.lightingRepeat = std::chrono::milliseconds(1);
    context.watchSystemHotplug = false;
    window = std::make_unique<app::DeviceMainDlg>(std::move(context));
    window->setTaskObserver([this](int code) { tasks.push_back(code); });
    if (addPages)
        addPages(*window);
    ASSERT_TRUE(window->create(
        nullptr, QStringLiteral("Corvane"), ui::StylePopup, 0,
        QRect(0, 0, app::DeviceMainDlg::kDesignWidth, app::DeviceMainDlg::kDesignHeight)));
    // The window builds a page when it is first shown; these tests reach the controls of
    // every page they added from the start.
    for (int slot = 0; slot < pages::kPageSlotCount; ++slot)
        window->buildPage(static_cast<PageSlot>(slot));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(window->refusedControlIds().empty()) << "a page's control is missing";

    // Task 1 settles the device, reads the mouse back and reloads the pages.
    ASSERT_TRUE(waitUntil([&] {
        return window->worker()->tasksTaken() >= 2 && window->worker()->queuedTasks() == 0 &&
               window->connectionShown();
    })) << "the worker did not settle the mouse";
    waitForWorker();
    tasks.clear();
}

void PageWindowTest::showPage(PageSlot slot) {
    const int item = kTabItems[static_cast<int>(slot)];
    auto* tabs = window->find<ui::TabControl>(48);
    ASSERT_NE(tabs, nullptr);
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->itemId(i) == item) {
            window->selectTab(i);
            ASSERT_FALSE(window->pageContainer(slot)->isHidden());
            return;
        }
    }
    FAIL() << "no tab for the page";
}

ui::Control* PageWindowTest::control(PageSlot slot, int local) const {
    return window->control(pageControlId(slot, local));
}

void PageWindowTest::click(PageSlot slot, int local, QPoint at) {
    QWidget* target = control(slot, local);
    ASSERT_NE(target, nullptr) << "no control " << local;
    ASSERT_TRUE(target->isVisible()) << "control " << local << " is hidden";
    ASSERT_FALSE(target->rect().isEmpty()) << "control " << local << " has no size";
    QTest::mouseClick(target, Qt::LeftButton, {}, at.isNull() ? target->rect().center() : at);
}

void PageWindowTest::focus(PageSlot slot, int local) {
    QWidget* target = control(slot, local);
    ASSERT_NE(target, nullptr) << "no control " << local;
    window->activateWindow();
    QWidget* receiver = target->focusProxy() ? target->focusProxy() : target;
    receiver->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return receiver->hasFocus(); }));
}

void PageWindowTest::typeInto(PageSlot slot, int local, const QString& text, bool leave) {
    focus(slot, local);
    QWidget* receiver = QApplication::focusWidget();
    ASSERT_NE(receiver, nullptr);
    QTest::keyClick(receiver, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(receiver, Qt::Key_Delete);
    QTest::keyClicks(receiver, text);
    if (leave)
        dropFocus();
}

void PageWindowTest::pressKey(PageSlot slot, int local, Qt::Key key) {
    focus(slot, local);
    QTest::keyClick(QApplication::focusWidget(), key);
}

void PageWindowTest::dropFocus() {
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    deliverPosted();
}

int PageWindowTest::profile() const {
    return window->currentProfile();
}

QString PageWindowTest::setting(QStringView key) const {
    QString value;
    store::ProfileDatabase::instance().getSetting(profile(), key, value);
    return value;
}

int PageWindowTest::settingInt(QStringView key) const {
    return store::ProfileDatabase::instance().getSettingInt(profile(), key);
}

bool PageWindowTest::writeSetting(QStringView key, int value) {
    return store::ProfileDatabase::instance().setSetting(profile(), key, value);
}

vm::MouseDevice& PageWindowTest::mouse() const {
    if (wiredM1)
        return *wiredM1;
    if (receiverM1)
        return *receiverM1;
    return *wiredM2;
}

std::optional<Kept> PageWindowTest::kept(std::uint8_t writeCode) const {
    return mouse().kept(writeCode);
}

bool PageWindowTest::waitForKept(std::uint8_t writeCode,
                                 const std::function<bool(const Kept&)>& pred,
                                 int timeoutMs) const {
    return waitUntil(
        [&] {
            const std::optional<Kept> state = kept(writeCode);
            return state && pred(*state);
        },
        timeoutMs);
}

vm::HeldSettings PageWindowTest::held() const {
    return mouse().held();
}

bool PageWindowTest::waitForHeld(const std::function<bool(const vm::HeldSettings&)>& pred,
                                 int timeoutMs) const {
    return waitUntil([&] { return pred(held()); }, timeoutMs);
}

void PageWindowTest::waitForWorker() {
    // A code no task has is taken off the queue and ignored: once it is taken, every task
    // queued before it has run to its end.
    // Tasks that queue others (or pages that queue one on what a task posted) need
    // another round, until a round finds the queue empty.
    protocol::DeviceWorker* worker = window->worker();
    do {
        const std::uint64_t barrier = worker->queueTask(-1);
        ASSERT_TRUE(waitUntil([&] { return worker->finished(barrier); }, 60000));
        // What those tasks posted (before the barrier ended) reaches the pages.
        deliverPosted();
    } while (worker->queuedTasks() != 0);
}

} // namespace corvane::pages::test
