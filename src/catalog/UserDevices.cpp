#include "catalog/UserDevices.h"

#include "catalog/CatalogEntries.h"
#include "xml/MarkupDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <mutex>

namespace corvane::catalog {
namespace {

// device_attr -> the user's file of that model. Filled once the catalog is read (before
// the device worker starts) and read by whichever thread loads a device file.
std::mutex registryMutex;
std::map<QString, QString> registeredFiles;

void registerFiles(std::map<QString, QString> files) {
    const std::lock_guard lock(registryMutex);
    registeredFiles = std::move(files);
}

QString hexId(int id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

// Why `candidate` may not join `catalog`: the installed model (or a user model read
// before it) whose device type, file name or vendor/product/identifier it would take.
QString clashOf(const DeviceCatalog& catalog, const DeviceDescription& candidate,
                const std::vector<DeviceMode>& candidateModes) {
    for (const DeviceDescription& known : catalog.devices) {
        if (known.deviceType == candidate.deviceType)
            return QStringLiteral("its device type %1 is that of %2, which is kept")
                .arg(candidate.deviceType)
                .arg(known.name);
        if (known.deviceAttr == candidate.deviceAttr)
            return QStringLiteral("its file name %1 is that of %2, which is kept")
                .arg(candidate.deviceAttr, known.name);
    }
    for (const DeviceMode& mode : candidateModes) {
        for (const DeviceMode& known : catalog.modes) {
            if (known.vid == mode.vid && known.pid == mode.pid && known.devId == mode.devId)
                return QStringLiteral("its mouse %1:%2 with identifier %3 is %4, which is kept")
                    .arg(hexId(mode.vid), hexId(mode.pid), mode.devId, known.device.name);
        }
    }
    return {};
}

// A picture the file names, as a full path, when it lies beside the file.
QString ownPicture(const QString& folder, const QString& name) {
    if (name.isEmpty())
        return {};
    const QFileInfo picture(QDir(folder), name);
    return picture.isFile() ? picture.absoluteFilePath() : QString();
}

} // namespace

QString userDeviceFolderFor(const QString& dataHome) {
    return QDir(dataHome).filePath(QStringLiteral("corvane/devices"));
}

UserDeviceFile readUserDeviceFile(const QString& path) {
    UserDeviceFile result;
    result.path = path;
    const QFileInfo info(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problems.push_back({DeviceFileProblem::Severity::Error, 0,
                                   QStringLiteral("cannot be read: %1").arg(file.errorString())});
        return result;
    }
    const QString folder = info.absolutePath();
    const QString stem = info.completeBaseName();
    result.problems = checkDeviceFileText(file.readAll(), stem, folder);
    if (hasError(result.problems))
        return result;

    // The check passed: read the entry with the program's own readers.
    xml::MarkupDocument doc;
    if (!doc.load(path) || !doc.findElem(QStringLiteral("mouse")) || !doc.intoElem() ||
        !doc.findElem(QStringLiteral("catalog"))) {
        result.problems.push_back({DeviceFileProblem::Severity::Error, 0,
                                   QStringLiteral("cannot be read: %1").arg(doc.result())});
        return result;
    }
    DeviceDescription device = readMouseEntry(doc);
    device.deviceAttr = stem;
    const QString listPicture = ownPicture(folder, device.image);
    device.image = listPicture.isEmpty() ? QString::fromLatin1(kOutlineListPicture) : listPicture;
    if (doc.intoElem()) {
        while (doc.findElem(QStringLiteral("mode")))
            result.modes.push_back(readModeEntry(doc, device));
        doc.outOfElem();
    }
    result.device = device;
    return result;
}

QString clashWith(const DeviceCatalog& catalog, const UserDeviceFile& file) {
    return file.device ? clashOf(catalog, *file.device, file.modes) : QString();
}

QStringList UserDeviceReport::lines() const {
    QStringList out;
    for (const DeviceFileProblem& problem : problems)
        out << describeProblem(path, problem);
    if (!clash.isEmpty())
        out << QStringLiteral("%1: skipped: %2").arg(path, clash);
    else if (!used)
        out << QStringLiteral("%1: skipped").arg(path);
    return out;
}

std::vector<UserDeviceReport> addUserDevices(DeviceCatalog& catalog, const QString& folder) {
    std::vector<UserDeviceReport> reports;
    std::map<QString, QString> files;
    if (folder.isEmpty()) {
        registerFiles({});
        return reports;
    }
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*.xml")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        UserDeviceFile file = readUserDeviceFile(dir.filePath(name));
        UserDeviceReport report{file.path, std::move(file.problems), {}, false};
        if (file.device) {
            report.clash = clashWith(catalog, file);
            if (report.clash.isEmpty()) {
                report.used = true;
                catalog.devices.push_back(*file.device);
                catalog.modes.insert(catalog.modes.end(), file.modes.begin(), file.modes.end());
                files[file.device->deviceAttr] = file.path;
            }
        }
        if (!report.used || !report.problems.empty())
            reports.push_back(std::move(report));
    }
    registerFiles(std::move(files));
    return reports;
}

QString userDeviceFileOf(const QString& deviceAttr) {
    const std::lock_guard lock(registryMutex);
    const auto found = registeredFiles.find(deviceAttr);
    return found == registeredFiles.end() ? QString() : found->second;
}

QString userDeviceFolderOf(const QString& deviceAttr) {
    const QString file = userDeviceFileOf(deviceAttr);
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
}

} // namespace corvane::catalog
