// The update tasks on the device worker: version checks, the setup download and the
// firmware upgrade through the mouse's bootloader.
#include "protocol/worker/DeviceWorkerCore.h"
#include "protocol/worker/WorkerUpdates.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>

#include "catalog/DeviceDetails.h"
#include "hid/DeviceManager.h"
#include "hid/Trace.h"
#include "update/BootloaderLink.h"
#include "update/FirmwareManifest.h"
#include "update/Minisign.h"
#include "update/UpdateFiles.h"
#include "update/Versions.h"
#include "update/ZipExtract.h"

namespace corvane::protocol {

namespace {

hid::DeviceManager& manager() {
    return hid::DeviceManager::instance();
}

constexpr int kWirelessConnection = 1;

std::string_view viewOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Whether the file downloaded from `address` to `path` carries the release signature
// the server holds beside it.
bool carriesReleaseSignature(update::HttpClient& http, const QString& address, const QString& path,
                             const std::string& publicKey) {
    const std::optional<update::minisign::PublicKey> key =
        update::minisign::parsePublicKey(publicKey);
    QByteArray signature;
    if (!key || http.fetchBytes(update::signatureAddress(address), signature) !=
                    update::FetchResult::Complete) {
        hid::trace(2, "no release signature beside the download");
        return false;
    }
    const update::minisign::Verdict verdict =
        update::minisign::verifyFile(path, viewOf(signature), *key);
    if (verdict != update::minisign::Verdict::Valid) {
        hid::trace(2, "release signature refused (%d)", static_cast<int>(verdict));
        return false;
    }
    return true;
}

// The firmware manifest of `version`, when its signature holds.
std::optional<update::FirmwareManifest> signedFirmwareManifest(update::HttpClient& http,
                                                               const QString& base,
                                                               const QString& version,
                                                               const std::string& publicKey) {
    const std::optional<update::minisign::PublicKey> key =
        update::minisign::parsePublicKey(publicKey);
    const QString address = update::firmwareManifestAddress(base, version);
    QByteArray manifest;
    QByteArray signature;
    if (!key || http.fetchBytes(address, manifest) != update::FetchResult::Complete ||
        http.fetchBytes(update::signatureAddress(address), signature) !=
            update::FetchResult::Complete) {
        hid::trace(2, "no signed firmware manifest");
        return std::nullopt;
    }
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(manifest.constData()),
                                 static_cast<std::size_t>(manifest.size()));
    if (update::minisign::verify(bytes, viewOf(signature), *key) !=
        update::minisign::Verdict::Valid) {
        hid::trace(2, "firmware manifest signature refused");
        return std::nullopt;
    }
    return update::parseFirmwareManifest(viewOf(manifest));
}

} // namespace

WorkerUpdates::WorkerUpdates(Context context)
    : c_(std::move(context)), http_(c_.config.update.http) {
    http_.setStopCheck([this] { return c_.stopping() || setupCancelled(); });
}

void WorkerUpdates::cancelSetupDownload() {
    setupCancel_.store(true);
    http_.cancel();
}

bool WorkerUpdates::setupCancelled() const {
    return inSetup_ && setupCancel_.load();
}

QString WorkerUpdates::tempFolder() const {
    const QString data = c_.config.dataFolder;
    if (data.isEmpty() || QDir::isRelativePath(data)) {
        return {}; // never a folder relative to wherever the program runs
    }
    return QDir(data).filePath(QStringLiteral("temp"));
}

// The version of the firmware the bootloader would replace: the receiver's, read from it,
// when commands go through the receiver; otherwise the release number of the interface
// commands go to. Empty until the mouse of the current type has been read.
QString WorkerUpdates::deviceFirmwareText() const {
    hid::DeviceManager& devices = manager();
    const int type = c_.state.currentDeviceType();
    if (type <= 0 || !c_.state.readBackDone(type)) {
        return {};
    }
    if (devices.connectionKind() == kWirelessConnection) {
        const QString receiver = c_.state.receiverVersion();
        if (!receiver.isEmpty()) {
            return receiver;
        }
    }
    hid::HidDevice* handle = devices.currentHandle();
    if (!handle) {
        return {};
    }
    for (const hid::ConnectedDevice& device : devices.devices()) {
        if (device.hid == handle) {
            return QString::number(device.releaseNumber, 16);
        }
    }
    return {};
}

// --- version checks ---

void WorkerUpdates::checkProgramVersion() {
    if (!c_.config.update.networkAllowed) {
        return;
    }
    const catalog::ProductInfo& product = c_.config.catalog.product;
    QString answer;
    if (http_.fetchText(update::programVersionAddress(product.upgrade), answer) !=
        update::FetchResult::Complete) {
        return;
    }
    const std::optional<QString> latest = update::programVersionFrom(answer);
    if (!latest) {
        return;
    }
    latestVersion_ = *latest;
    UpdateStatusView status;
    status.kind = UpdateKind::Program;
    status.latest = *latest;
    const bool newer = update::compareVersions(product.version, *latest) >= 1;
    updateState_ = newer ? 1 : 2;
    status.state = updateState_;
    status.buttonEnabled = newer;
    c_.host.call([&](WorkerHost& host) {
        host.showUpdateStatus(status);
        if (newer) {
            host.offerUpdate(UpdateKind::Program, *latest);
        }
    });
}

void WorkerUpdates::checkFirmwareVersion() {
    if (!c_.config.update.networkAllowed) {
        return;
    }
    const QString base = c_.state.details().firmwareUrl;
    if (base.isEmpty()) {
        return;
    }
    QString answer;
    if (http_.fetchText(update::firmwareVersionAddress(base), answer) !=
        update::FetchResult::Complete) {
        return;
    }
    const std::optional<QString> latest = update::firmwareVersionFrom(answer);
    if (!latest) {
        return;
    }
    latestFirmware_ = *latest;
    const QString device = deviceFirmwareText();
    if (device.isEmpty()) {
        return;
    }
    checkedFirmwareUrl_ = base;
    checkedFirmwareType_ = c_.state.currentDeviceType();
    UpdateStatusView status;
    status.kind = UpdateKind::Firmware;
    status.latest = *latest;
    const bool newer = update::compareFirmwareVersions(device, *latest) >= 1;
    firmwareUpdateState_ = newer ? 1 : 2;
    status.state = firmwareUpdateState_;
    status.buttonEnabled = newer;
    c_.host.call([&](WorkerHost& host) {
        host.showUpdateStatus(status);
        if (newer) {
            host.offerUpdate(UpdateKind::Firmware, *latest);
        }
    });
}

// --- the setup ---

void WorkerUpdates::downloadSetup() {
    // A cancel counts for the download it was meant for: this one (queued or running).
    inSetup_ = true;
    struct EndOfSetup {
        WorkerUpdates& updates;
        ~EndOfSetup() {
            updates.inSetup_ = false;
            updates.setupCancel_.store(false);
        }
    } end{*this};
    const QString temp = tempFolder();
    bool started = false;
    if (!setupCancelled() && c_.config.update.networkAllowed && updateState_ == 1 &&
        !temp.isEmpty() && QDir().mkpath(temp)) {
        const QString version = latestVersion_;
        const QString archive = QDir(temp).filePath(update::setupArchiveName(version));
        const QString address = update::setupArchiveAddress(c_.config.catalog.product.upgrade,
                                                            update::setupArchiveName(version));
        QFile::remove(archive);
        const int fetched = http_.fetchFile(address, archive, [this](int percent) {
            c_.host.call([percent](WorkerHost& host) { host.showSetupProgress(percent); });
        });
        if (fetched == update::FetchResult::Stopped) {
            return;
        }
        // A setup left from an earlier attempt is never the one started.
        const QString program = QDir(temp).filePath(update::setupProgramName(version));
        std::error_code error;
        std::filesystem::remove_all(QFile::encodeName(program).toStdString(), error);
        // Nothing of an archive without the release signature is unpacked, let alone run.
        const bool trusted =
            fetched == update::FetchResult::Complete &&
            carriesReleaseSignature(http_, address, archive, c_.config.update.setupPublicKey);
        update::ExtractLimits limits = c_.config.update.extract;
        limits.onlyEntry = QFile::encodeName(update::setupProgramName(version)).toStdString();
        const bool unpacked = trusted && update::extractAll(archive, temp, limits);
        QFile::remove(archive);
        started = unpacked && !setupCancelled() && update::makeExecutable(program) &&
                  c_.host.ask([&](WorkerHost& host) { return host.startSetup(program); }, false);
    }
    if (!started) {
        hid::trace(2, "setup download failed");
        c_.host.call([](WorkerHost& host) { host.setupFailed(); });
    }
}

// --- the firmware ---

void WorkerUpdates::firmwareProgress(int textId, int percent) {
    if (textId == lastFirmwareText_ && percent == lastFirmwarePercent_) {
        return;
    }
    lastFirmwareText_ = textId;
    lastFirmwarePercent_ = percent;
    c_.host.call([=](WorkerHost& host) { host.showFirmwareProgress(textId, percent); });
}

void WorkerUpdates::upgradeFirmware() {
    lastFirmwareText_ = 0;
    lastFirmwarePercent_ = -1;
    if (runUpgrade()) {
        // Offered once, written once: another upgrade needs another check and offer.
        firmwareUpdateState_ = 0;
        checkedFirmwareUrl_.clear();
        endFirmwareWrite(true);
        return;
    }
    hid::trace(2, "firmware upgrade failed");
    endFirmwareWrite(false);
}

// The end of a firmware write, an upgrade or a rewrite: a written mouse is given time to
// restart around the window's "done"; a failed write shows the failure at the percentage
// it reached.
void WorkerUpdates::endFirmwareWrite(bool written) {
    if (written) {
        if (!c_.pause(c_.config.update.afterUpgrade)) {
            return;
        }
        c_.host.call([](WorkerHost& host) { host.endFirmwareUpgrade(true); });
        c_.pause(c_.config.update.afterUpgrade);
        return;
    }
    firmwareProgress(FirmwareText::Failed, std::max(lastFirmwarePercent_, 0));
    c_.host.call([](WorkerHost& host) { host.endFirmwareUpgrade(false); });
}

bool WorkerUpdates::runUpgrade() {
    firmwareProgress(FirmwareText::Downloading, 5);
    const QString version = latestFirmware_;
    const QString base = c_.state.details().firmwareUrl;
    // Only the version offered for this device type and address, and only when newer.
    if (!c_.config.update.networkAllowed || firmwareUpdateState_ != 1 || version.isEmpty() ||
        base.isEmpty() || base != checkedFirmwareUrl_ ||
        c_.state.currentDeviceType() != checkedFirmwareType_) {
        return false;
    }
    int vendorId = 0;
    int productId = 0;
    if (!manager().currentVidPid(vendorId, productId)) {
        return false;
    }
    return writeFirmware(base, version, vendorId, productId);
}

// --- a mouse left in its bootloader ---

void WorkerUpdates::offerFirmwareRecovery(const StrandedMouse& mouse) {
    if (!c_.config.update.networkAllowed || mouse.firmwareUrl.isEmpty()) {
        return;
    }
    QString answer;
    if (http_.fetchText(update::firmwareVersionAddress(mouse.firmwareUrl), answer) !=
        update::FetchResult::Complete) {
        return;
    }
    const std::optional<QString> latest = update::firmwareVersionFrom(answer);
    if (!latest) {
        return;
    }
    stranded_ = mouse;
    strandedVersion_ = *latest;
    hid::trace(2, "a mouse waits in its bootloader (%04X:%04X); firmware %s is offered",
               mouse.vendorId, mouse.productId, qPrintable(*latest));
    UpdateStatusView status;
    status.kind = UpdateKind::Firmware;
    status.state = kStrandedInBootloader;
    status.latest = *latest;
    status.deviceType = mouse.deviceType;
    c_.host.call([&](WorkerHost& host) { host.showUpdateStatus(status); });
}

void WorkerUpdates::recoverFirmware() {
    lastFirmwareText_ = 0;
    lastFirmwarePercent_ = -1;
    firmwareProgress(FirmwareText::Downloading, 5);
    // Only the mouse the offer was made for, with the version offered for it then.
    const bool written = stranded_ && !strandedVersion_.isEmpty() &&
                         writeFirmware(stranded_->firmwareUrl, strandedVersion_,
                                       stranded_->vendorId, stranded_->productId);
    if (written) {
        // The mouse holds the version offered now; it restarts with it and its arrival
        // settles it as usual.
        UpdateStatusView status;
        status.kind = UpdateKind::Firmware;
        status.state = 2;
        status.latest = strandedVersion_;
        status.buttonEnabled = false;
        stranded_.reset();
        strandedVersion_.clear();
        c_.host.call([&](WorkerHost& host) { host.showUpdateStatus(status); });
        endFirmwareWrite(true);
        return;
    }
    hid::trace(2, "writing the firmware again failed");
    endFirmwareWrite(false);
}

// Downloads the firmware `version` from `base`, checks it against its signed manifest
// for this vendor/product pair and writes it through the pair's bootloader.
bool WorkerUpdates::writeFirmware(const QString& base, const QString& version, int vendorId,
                                  int productId) {
    const QString temp = tempFolder();
    if (!c_.config.update.networkAllowed || version.isEmpty() || base.isEmpty() || temp.isEmpty()) {
        return false;
    }
    hid::DeviceManager& devices = manager();
    // The signed manifest first: a firmware for another mouse or another version is not
    // even downloaded.
    const std::optional<update::FirmwareManifest> manifest =
        signedFirmwareManifest(http_, base, version, c_.config.update.firmwarePublicKey);
    const auto forThisMouse = [&](std::span<const std::uint8_t> image) {
        return update::checkFirmwareImage(*manifest, vendorId, productId, version, image);
    };
    if (!manifest || forThisMouse({}) == update::ImageCheck::OtherMouse ||
        forThisMouse({}) == update::ImageCheck::OtherVersion) {
        hid::trace(2, "the firmware manifest is not for this mouse and version");
        return false;
    }

    std::error_code error;
    std::filesystem::remove_all(QFile::encodeName(temp).toStdString(), error);
    if (!QDir().mkpath(temp)) {
        return false;
    }
    const QString archive = QDir(temp).filePath(update::firmwareArchiveName(version));
    if (http_.fetchFile(update::firmwareArchiveAddress(base, update::firmwareArchiveName(version)),
                        archive) != update::FetchResult::Complete) {
        return false;
    }
    firmwareProgress(FirmwareText::Preparing, 7);
    update::ExtractLimits limits = c_.config.update.firmwareExtract;
    limits.onlyEntry = QFile::encodeName(update::firmwareImageName(version)).toStdString();
    if (!update::extractAll(archive, temp, limits)) {
        return false;
    }
    QFile::remove(archive);
    const QString imagePath = QDir(temp).filePath(update::firmwareImageName(version));
    // Larger than the chunk numbers can address: refused before the mouse is touched.
    const std::optional<std::vector<std::uint8_t>> image =
        update::readImageFile(imagePath, update::kMaxImageBytes);
    QFile::remove(imagePath);
    if (!image || forThisMouse(*image) != update::ImageCheck::Accepted) {
        hid::trace(2, "the firmware image is not the one its manifest names");
        return false;
    }
    firmwareProgress(FirmwareText::Preparing, 10);

    hid::HidDevice* loader = devices.openBootloader(vendorId, productId);
    if (!loader) {
        return false;
    }
    update::BootloaderLink link(devices.hidApi(), loader, c_.config.update.boot, c_.pause);
    // After a refused packet no end packet goes out: the mouse stays in its bootloader
    // for another try instead of starting a half-written firmware.
    const bool written = link.bootStart() &&
                         link.transferImage(*image,
                                            [this](int percent) {
                                                firmwareProgress(FirmwareText::Upgrading, percent);
                                            }) == update::TransferResult::Sent &&
                         link.bootEnd();
    devices.closeBootloader();
    if (written) {
        firmwareProgress(FirmwareText::Done, 100);
    }
    return written;
}

// --- the tasks ---

void DeviceWorkerCore::programCheckTask() {
    updates_->checkProgramVersion();
}

void DeviceWorkerCore::firmwareCheckTask() {
    updates_->checkFirmwareVersion();
}

void DeviceWorkerCore::cancelSetupDownload() {
    updates_->cancelSetupDownload();
}

void DeviceWorkerCore::setupDownloadTask() {
    updates_->downloadSetup();
}

void DeviceWorkerCore::firmwareUpgradeTask() {
    updates_->upgradeFirmware();
}

void DeviceWorkerCore::firmwareRecoveryTask() {
    updates_->recoverFirmware();
}

// After a scan that found no mouse: one that waits in its bootloader for a firmware is
// offered its firmware again, when its device type has a firmware address.
void DeviceWorkerCore::offerRecoveryIfStranded() {
    hid::DeviceManager& devices = manager();
    const std::vector<hid::SupportedInterface> supported = devices.supportedInterfaces();
    for (const auto& [vendorId, productId] : devices.strandedBootloaders()) {
        for (const hid::SupportedInterface& entry : supported) {
            if (entry.vendorId != vendorId || entry.productId != productId ||
                entry.deviceType <= 0) {
                continue;
            }
            catalog::DeviceDetails details;
            if (!catalog::readDeviceDetails(config_.exeFolder, deviceAttrOf(entry.deviceType),
                                            details) ||
                details.firmwareUrl.isEmpty()) {
                continue;
            }
            updates_->offerFirmwareRecovery(
                {entry.deviceType, vendorId, productId, details.firmwareUrl});
            return;
        }
    }
}

} // namespace corvane::protocol
