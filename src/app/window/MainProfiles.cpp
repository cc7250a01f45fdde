// The profile list pop-up of the main window and what it asks for (message 1705):
// switching to a profile, importing a profile file into the current profile and
// exporting a profile to a file.
#include "app/start/AppState.h"
#include "app/start/UiText.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "control/names/BindingRules.h"
#include "exchange/ProfileFile.h"
#include "focus/ProfileFollower.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/FileDialogs.h"
#include "pages/settings/ProfileAppsDlg.h"
#include "pages/settings/ProfileDlg.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"
#include "store/StoreTransaction.h"

#include <QCoreApplication>

namespace corvane::app {

namespace {
const QString kImportFilter = QStringLiteral("MouseKey (*.xml)");
const QString kExportFilter = QStringLiteral("Profile (*.xml)");
constexpr int kImportTitle = 26;
constexpr int kExportTitle = 27;
// "This profile file was made for %1. Import it into %2 anyway?"
constexpr int kOtherModelQuestion = 597;
constexpr int kProfileWord = 61;
// The dialog offers this many of the applications focused lately.
constexpr qsizetype kRecentApps = 20;

QString nameOfType(const catalog::DeviceCatalog& catalog, int deviceType) {
    for (const catalog::DeviceDescription& device : catalog.devices) {
        if (device.deviceType == deviceType)
            return device.name;
    }
    return {};
}
} // namespace

std::vector<int> DeviceMainDlg::offeredLanguages() const {
    std::vector<int> lcids;
    for (const auto& [lcid, offered] : appState().supportedLanguages) {
        if (offered)
            lcids.push_back(lcid);
    }
    return lcids;
}

void DeviceMainDlg::openProfileWindow(const QRect& screenRect) {
    pages::ProfileDlg dialog(*this, currentProfile());
    m_profileDlg = &dialog;
    dialog.run(screenRect);
    m_profileDlg = nullptr;
}

bool DeviceMainDlg::profileCommand(int command, int profile) {
    switch (command) {
    case pages::ProfileSwitch:
        switchProfile(profile);
        return true;
    case pages::ProfileImport:
        // The file always goes into the current profile, whichever one was selected.
        importProfileFile();
        return true;
    case pages::ProfileExport:
        exportProfileFile(profile);
        return true;
    case pages::ProfileApps:
        openProfileApps(profile);
        return true;
    default:
        return false;
    }
}

void DeviceMainDlg::switchProfile(int profile) {
    if (!m_worker || profile <= 0)
        return;
    m_worker->state().setCurrentProfile(profile);
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    database.setCurrentProfile(profile);
    showProfileName(store::profileButtonText(database, profile, uiText(kProfileWord)));
    queueTask(protocol::DeviceTask::PushProfile);
}

pages::FileDialogs& DeviceMainDlg::fileDialogs() {
    if (m_context.fileDialogs)
        return *m_context.fileDialogs;
    if (!m_ownFileDialogs)
        m_ownFileDialogs = std::make_unique<pages::QtFileDialogs>();
    return *m_ownFileDialogs;
}

void DeviceMainDlg::importProfileFile() {
    const int profile = currentProfile();
    if (profile <= 0)
        return;
    const QString path = fileDialogs().openFileName(this, uiText(kImportTitle), kImportFilter);
    if (path.isEmpty())
        return;
    // A file made for another model: its keys and settings may mean something else there.
    const int type = currentDeviceType();
    if (const auto origin = exchange::readProfileOrigin(path);
        origin && origin->deviceType > 0 && origin->deviceType != type) {
        const QString made = origin->deviceName.isEmpty()
                                 ? nameOfType(m_catalog, origin->deviceType)
                                 : origin->deviceName;
        const QString question = uiText(kOtherModelQuestion).arg(made, nameOfType(m_catalog, type));
        if (showMessage(question, uiText(kImportTitle), pages::MessageTwoButtons) ==
            ui::ResultSecond)
            return;
    }
    exchange::ProfileImportOptions options;
    options.hasLighting = m_details.hasLighting;
    if (const int sensor = deviceValues().sensorId; sensor >= 0)
        options.sensorId = sensor;
    options.takesBinding = [&keys = m_details.keys](const store::ButtonBinding& binding) {
        return control::isAssignableBinding(binding, keys);
    };
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const exchange::ProfileImportResult result =
        exchange::importProfile(database, profile, path, options);
    if (result.status != exchange::ExchangeStatus::Done)
        return;
    showProfileName(store::profileButtonText(database, profile, uiText(kProfileWord)));
    for (int key : result.macroKeys)
        requestMacroDownload(key);
    forEachPage([](Page& page) { page.reload(); });
    if (result.pushProfile)
        queueTask(protocol::DeviceTask::PushProfile);
}

void DeviceMainDlg::exportProfileFile(int profile) {
    if (profile <= 0)
        return;
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    const QString name = store::profileButtonText(database, profile, uiText(kProfileWord));
    const QString path = fileDialogs().saveFileName(this, uiText(kExportTitle),
                                                    name + QStringLiteral(".xml"), kExportFilter);
    if (path.isEmpty())
        return;
    // A profile the lighting page has not shown yet has no light rows; the file carries
    // the defaults the page would write, not an empty lighting that imports as "off".
    // They stay only when the file was written.
    store::StoreTransaction step(database);
    if (m_details.hasLighting)
        database.createDefaultLights(profile, m_details.lightEffects);
    exchange::ProfileExportOptions options;
    options.hasLighting = m_details.hasLighting;
    options.profileWord = uiText(kProfileWord);
    options.origin.deviceType = currentDeviceType();
    options.origin.deviceName = nameOfType(m_catalog, options.origin.deviceType);
    if (exchange::exportProfile(database, profile, path, options) == exchange::ExchangeStatus::Done)
        step.commit();
}

void DeviceMainDlg::openProfileApps(int profile) {
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    if (profile <= 0 || !database.isOpen())
        return;
    pages::ProfileAppsChoices choices;
    choices.profile = profile;
    choices.profileName = store::profileButtonText(database, profile, uiText(kProfileWord));
    if (m_follower) {
        // The application the user came from: a rule names it as the follower matches it.
        const focus::FocusedApp last = m_follower->lastOtherApp();
        if (!last.empty())
            choices.lastApp = m_follower->identities(last).value(0);
    }
    choices.recentApps = m_recentApps;
    pages::ProfileAppsDlg::ask(this, choices);
}

void DeviceMainDlg::rememberFocusedApp(const focus::FocusedApp& app) {
    if (!m_follower || app.empty() || app.pid == QCoreApplication::applicationPid())
        return; // nothing focused, or our own window
    const QString name = m_follower->identities(app).value(0);
    if (name.isEmpty())
        return;
    m_recentApps.removeIf(
        [&](const QString& seen) { return seen.compare(name, Qt::CaseInsensitive) == 0; });
    m_recentApps.prepend(name);
    if (m_recentApps.size() > kRecentApps)
        m_recentApps.resize(kRecentApps);
}

} // namespace corvane::app
