#include "cli/Handover.h"

#include "cli/LocalDevice.h"
#include "control/local/LocalClient.h"
#include "control/local/ProgramFolders.h"
#include "control/local/UserKey.h"
#include "hid/DeviceManager.h"
#include "i18n/LanguageTexts.h"
#include "virtualmouse/ProgramDemo.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <thread>

namespace corvane::cli {

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A window that is starting, or another corvanectl, holds the lock only briefly.
constexpr auto kBusyWait = 10s;
constexpr auto kRetryPause = 20ms;
// The window may be busy with a longer task (a firmware check) before it gets to ours.
constexpr auto kWindowAnswerWait = 60s;
constexpr auto kStartWait = 20s;
constexpr auto kRequestWait = 30s;
constexpr int kProfileWordText = 61;
constexpr int kEnglish = 1033;

control::Answer failure(const QString& message) {
    control::Answer answer;
    answer.exitCode = control::ExitCode::Failure;
    answer.err = QStringLiteral("corvanectl: %1\n").arg(message);
    return answer;
}

void note(const control::Request& request, control::Answer& answer, const QString& line) {
    if (request.has(QStringLiteral("verbose")))
        answer.err.prepend(QStringLiteral("corvanectl: %1\n").arg(line));
}

// The language the window uses (its stored "LCID"), without creating the per-user file
// the way a first read by the window does.
int languageOf(const Installation& installation, control::UserKey& userKey) {
    int lcid = 0;
    if (QFileInfo::exists(userKey.filePath()))
        lcid = userKey.readUserValue(QStringLiteral("LCID"));
    if (lcid <= 0 || !QFileInfo::exists(i18n::languageFile(installation.exeFolder, lcid)))
        lcid = installation.defaultLanguage.value_or(kEnglish);
    return lcid;
}

control::Answer runLocally(const Installation& installation, const control::Request& request,
                           bool virtualMouse) {
    vm::VirtualDeviceSet devices;
    if (virtualMouse) {
        devices = vm::makeVirtualDevices();
        vm::installVirtualDevices(devices);
    }
    control::UserKey userKey = control::UserKey::forDevice(installation.deviceName);
    i18n::setProgramFolder(installation.exeFolder);
    i18n::setCurrentLcid(languageOf(installation, userKey));
    QString profileWord = i18n::lookupText(i18n::kTextSection, kProfileWordText);
    if (profileWord.isEmpty())
        profileWord = QStringLiteral("Profile");

    LocalDevice::Setup setup;
    setup.exeFolder = installation.exeFolder;
    setup.dataFolder = control::dataFolderFor(control::dataHome(), installation.deviceName);
    setup.catalog = installation.catalog;
    setup.profileWord = profileWord;
    setup.storedDeviceType = userKey.readUserValue(QStringLiteral("DeviceType"));
    if (!control::ensureDirectory(setup.dataFolder + QStringLiteral("db")))
        return failure(QStringLiteral("cannot create the data folder %1").arg(setup.dataFolder));

    control::Answer answer;
    {
        LocalDevice device(setup);
        if (!device.start(kStartWait))
            answer = failure(QStringLiteral("the mice did not answer in time"));
        else
            answer = device.run(request, kRequestWait);
    }
    // The manager closes its handles while the virtual devices still exist.
    hid::DeviceManager::installHidApi(nullptr);
    note(request, answer,
         virtualMouse ? QStringLiteral("no window runs; corvanectl used the virtual mice itself")
                      : QStringLiteral("no window runs; corvanectl used the mouse itself"));
    return answer;
}

} // namespace

control::Answer runRequest(const Installation& installation, const control::InstancePaths& paths,
                           const control::Request& request, bool virtualMouse) {
    control::Request toWindow = request;
    if (virtualMouse)
        toWindow.options.insert(QStringLiteral("virtual-mouse"), QString());
    const Clock::time_point deadline = Clock::now() + kBusyWait;
    QDir().mkpath(QFileInfo(paths.lockFile).absolutePath());
    for (;;) {
        const control::Handover handover =
            control::sendRequest(paths.socket, toWindow, kWindowAnswerWait);
        if (handover.status == control::Handover::Status::Answered) {
            control::Answer answer = handover.answer;
            note(request, answer, QStringLiteral("handed the request to the running window"));
            return answer;
        }
        if (handover.status == control::Handover::Status::Failed)
            return failure(handover.error);
        // Only the window follows the focus: without it there is nothing to tell.
        if (request.command == u"focus")
            return failure(QStringLiteral("Corvane is not running; only its window follows the "
                                          "focus"));

        QLockFile lock(paths.lockFile);
        lock.setStaleLockTime(0); // as the window: only a dead owner makes it stale
        if (lock.tryLock(0))
            return runLocally(installation, request, virtualMouse);
        if (lock.error() != QLockFile::LockFailedError) {
            // As the window does without a usable runtime folder: unguarded.
            control::Answer answer = runLocally(installation, request, virtualMouse);
            note(request, answer,
                 QStringLiteral("cannot create the lock file %1; ran unguarded")
                     .arg(paths.lockFile));
            return answer;
        }
        if (Clock::now() >= deadline)
            return failure(QStringLiteral("another program is using the mouse (a corvane "
                                          "window that does not answer, or another corvanectl)"));
        std::this_thread::sleep_for(kRetryPause);
    }
}

} // namespace corvane::cli
