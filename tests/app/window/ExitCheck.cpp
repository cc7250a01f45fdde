// A helper program for the exit tests: the main window's life as the program has it,
// with virtual mice that leave work under way when it ends, and then main returns, so
// that static destruction runs as it does in the program. Prints "ending" just before
// the end begins.
//
// Usage: corvane_exit_check held-notice|silent-mice <data folder>
//   held-notice  a mouse attached, a DPI notice held for it at the end
//   silent-mice  two mice that never answer, the end during the scan of them
// Exit codes: 0 clean; 2 and 3 the scenario could not be set up; 5 the worker outlived
// the wait; 64 bad usage.
#include "app/start/ProcessObjects.h"
#include "app/start/SharedUserValues.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MessageBoxes.h"
#include "hid/DeviceManager.h"
#include "i18n/LanguageTexts.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/base/Settings.h"
#include "virtualmouse/VirtualMouse.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

using namespace corvane;
using namespace std::chrono_literals;

class MemoryValues final : public app::UserValues {
public:
    int readUserValue(const QString& name) override { return values[name].toInt(); }
    bool writeUserValue(const QString& name, const QString& text) override {
        values[name] = text;
        return true;
    }
    std::map<QString, QString> values;
};

class NoMessageBoxes final : public app::MessageBoxes {
public:
    int showMessage(const QString&, QWidget*, const QString&, int) override { return 1; }
    bool showSaveWait(QWidget*, bool) override { return false; }
    void hideSaveWait() override {}
};

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

std::shared_ptr<vm::WiredMouse> plugWired(vm::VirtualMouse& bus, std::uint16_t pid,
                                          const char* id) {
    vm::WiredMouseConfig mouse;
    mouse.productId = pid;
    mouse.mouse.deviceId = id;
    return bus.addWiredMouse(mouse);
}

// A press while a command waits for its answer: the exchange holds the notice.
int holdANotice(app::DeviceMainDlg& window, vm::WiredMouse& mouse) {
    if (!waitFor([&] { return window.connectionShown(); }))
        return 2;
    mouse.clearLog();
    mouse.delayNextAnswers(1, 400ms);
    window.queueTask(protocol::DeviceTask::SendPower);
    if (!waitFor([&] { return !mouse.received().empty(); }))
        return 3;
    mouse.pressDpiButton();
    hid::DeviceManager& manager = hid::DeviceManager::instance();
    return waitFor([&] { return manager.heldNotices().count(manager.currentHandle()) > 0; }) ? 0
                                                                                             : 3;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 64;
    const std::string scenario = argv[1];
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString exeFolder = QStringLiteral(CORVANE_SOURCE_DIR "/data");
    i18n::setProgramFolder(exeFolder);
    i18n::setCurrentLcid(1033);
    ui::setSkinFolder({});
    ui::setDeviceName(QStringLiteral("Corvane"));
    const QString dataFolder = QString::fromLocal8Bit(argv[2]) + u'/';
    QDir(dataFolder).mkpath(QStringLiteral("db"));

    auto bus = std::make_shared<vm::VirtualMouse>();
    hid::DeviceManager::installHidApi(bus);
    std::shared_ptr<vm::WiredMouse> first = plugWired(*bus, 0xC0A1, "CVM1");
    std::shared_ptr<vm::WiredMouse> second;
    if (scenario == "silent-mice") {
        second = plugWired(*bus, 0xC0B1, "CVM2");
        first->dropNextAnswers(1000);
        second->dropNextAnswers(1000);
    } else if (scenario != "held-notice") {
        return 64;
    }

    // As in the program: the shared objects outlive the window and go before main ends.
    app::ProcessObjects shared;
    int code = 0;
    {
        MemoryValues memory;
        app::SharedUserValues values(memory);
        NoMessageBoxes boxes;
        app::WindowContext context;
        context.exeFolder = exeFolder;
        context.dataFolder = dataFolder;
        context.userValues = &values;
        context.messageBoxes = &boxes;
        context.quit = [](int) {};
        context.trayAvailable = [] { return false; };
        context.watchSystemHotplug = false;
        app::DeviceMainDlg window(std::move(context));
        window.create(
            nullptr, QStringLiteral("Corvane"), ui::StylePopup, 0,
            QRect(0, 0, app::DeviceMainDlg::kDesignWidth, app::DeviceMainDlg::kDesignHeight));
        window.show();
        shared.watchWorker(window.worker()->exitWaiter());

        if (second)
            code = waitFor([&] { return !first->received().empty(); }) ? 0 : 2;
        else
            code = holdANotice(window, *first);

        std::printf("ending\n");
        std::fflush(stdout);
        window.endProgram();
        window.DestroyWindow();
    }
    if (!shared.release(900ms))
        app::ProcessObjects::endAtOnce(5);
    return code;
}
