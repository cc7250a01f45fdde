#include "WindowTest.h"

#include "focus/FocusWatcher.h"

#include "hid/DeviceManager.h"
#include "i18n/IniFile.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "ui/base/Settings.h"
#include "virtualmouse/VirtualMouse.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "support/OffscreenApplication.h"
#include "support/WaitUntil.h"

namespace corvane::app::test {
namespace {

// The window hides and closes many windows; none of that ends the test program.
[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new corvane::test::OffscreenApplication(
        "app_window_tests", [] { QApplication::setQuitOnLastWindowClosed(false); }));

} // namespace

int reportRateHz(const vm::WiredMouse& mouse) {
    // The rate as the mouse's own firmware reading of what it kept (0 before any).
    return mouse.held().reportRateHz;
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    return corvane::test::waitUntil(pred, timeoutMs);
}

QString sourceData() {
    return QStringLiteral(CORVANE_SOURCE_DIR "/data");
}

QString englishText(int id) {
    const QByteArray bytes = readFile(sourceData() + QStringLiteral("/language/1033.lan"));
    return i18n::IniFile::fromBytes(bytes, QByteArrayLiteral("UTF-8"))
        .value(u"LAN", QString::number(id));
}

void WindowTest::SetUp() {
    ASSERT_TRUE(dataDir.isValid());
    ASSERT_TRUE(QDir(dataDir.path()).mkpath(QStringLiteral("db")));
    store::ProfileDatabase::instance().close();
    bus = std::make_shared<vm::VirtualMouse>();
    hid::DeviceManager::installHidApi(bus);
    i18n::setProgramFolder(sourceData());
    i18n::setCurrentLcid(1033);
    ui::setSkinFolder({});
    ui::setDeviceName(QStringLiteral("Corvane"));
    userValues = std::make_unique<SharedUserValues>(memoryValues);
}

void WindowTest::TearDown() {
    if (window) {
        window->DestroyWindow();
        if (protocol::DeviceWorker* worker = window->worker()) {
            EXPECT_TRUE(worker->waitForExit(std::chrono::seconds(10)));
        }
        window.reset();
    }
    // Work posted by the worker for a window that is gone is dropped here.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    hid::DeviceManager::installHidApi(nullptr);
    store::ProfileDatabase::instance().close();
}

void WindowTest::startWindow(const std::function<void(DeviceMainDlg&)>& addPages) {
    startWindowIn(dataDir.path() + u'/', addPages);
}

void WindowTest::startWindowIn(const QString& dataFolder,
                               const std::function<void(DeviceMainDlg&)>& addPages) {
    WindowContext context;
    context.exeFolder = sourceData();
    context.dataFolder = dataFolder;
    context.userValues = userValues.get();
    context.messageBoxes = windowMessageBoxes;
    context.quit = [this](int code) { quits.push_back(code); };
    context.trayAvailable = [this] { return trayAvailable; };
    context.delays.arrival = context.delays.removal = std::chrono::milliseconds(1);
    context.delays.infoRetry = context.delays.lighting = std::chrono::milliseconds(1);
    context.delays.lightingRepeat = std::chrono::milliseconds(1);
    context.watchSystemHotplug = false;
    // The test's own desktop never moves its profiles; the focus tests give a watcher.
    context.focusWatcher = [] { return std::unique_ptr<focus::FocusWatcher>(); };
    // Nor is anything published on its session bus; the service tests give a private one.
    context.serviceBus.publish = false;
    // The catalog's download server is not contacted; the update tests give their own.
    context.updates.networkAllowed = false;
    if (watchVirtualHotplug)
        context.virtualDevices = bus;
    if (adjustContext)
        adjustContext(context);
    window = std::make_unique<DeviceMainDlg>(std::move(context));
    if (addPages)
        addPages(*window);
    ASSERT_TRUE(
        window->create(nullptr, QStringLiteral("Corvane"), ui::StylePopup, 0,
                       QRect(0, 0, DeviceMainDlg::kDesignWidth, DeviceMainDlg::kDesignHeight)));
    if (buildPagesAtStart) {
        for (int slot = 0; slot < pages::kPageSlotCount; ++slot)
            window->buildPage(static_cast<PageSlot>(slot));
    }
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::waitForStart() {
    ASSERT_TRUE(waitUntil([&] {
        return window->worker()->tasksTaken() >= 2 && window->worker()->queuedTasks() == 0;
    })) << "the worker did not run the start tasks";
    waitForWorker();
}

void WindowTest::waitForWorker() {
    protocol::DeviceWorker* worker = window->worker();
    ASSERT_NE(worker, nullptr);
    // A code no task has is taken and ignored; tasks that queue others (or what the
    // window queues on what they posted) need another round, until one finds none.
    do {
        const std::uint64_t barrier = worker->queueTask(-1);
        ASSERT_TRUE(waitUntil([&] { return worker->finished(barrier); }, 60000))
            << "the worker did not get through its queue";
        // What the tasks posted before the barrier ended reaches the window.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    } while (worker->queuedTasks() != 0);
}

void WindowTest::click(int controlId, QPoint at) {
    QWidget* target = window->control(controlId);
    ASSERT_NE(target, nullptr) << "no control " << controlId;
    QTest::mouseClick(target, Qt::LeftButton, {}, at.isNull() ? target->rect().center() : at);
}

bool WindowTest::shown(int controlId) const {
    const QWidget* target = window->control(controlId);
    return target && !target->isHidden();
}

QString WindowTest::textOf(int controlId) const {
    const ui::Control* target = window->control(controlId);
    return target ? target->text() : QString();
}

} // namespace corvane::app::test
