// Feeds arbitrary bytes to the catalog readers, once as config.xml and once as a
// device file, and runs the device-change decision over whatever catalog came out.

#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceChange.h"
#include "catalog/DeviceDetails.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

using namespace corvane::catalog;

QString scratchFolder() {
    static QTemporaryDir dir;
    static const bool made = QDir(dir.path()).mkpath(QStringLiteral("device"));
    (void)made;
    return dir.path();
}

void writeFile(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = scratchFolder();
    const QString configXml = folder + QStringLiteral("/config.xml");
    writeFile(configXml, data, size);
    writeFile(deviceFilePath(folder, QStringLiteral("fuzz")), data, size);

    const StartupInfo info = readStartupInfo(configXml);
    const DeviceCatalog catalog = readCatalog(configXml);
    if (!info.loaded && !catalog.devices.empty())
        __builtin_trap(); // a file start-up cannot read must not yield devices

    DeviceDetails details;
    const bool read = readDeviceDetails(folder, QStringLiteral("fuzz"), details);
    if (!read && !details.keys.empty())
        __builtin_trap(); // a failed read must leave the details as they were
    const auto defaults = performanceDefaults(folder, QStringLiteral("fuzz"), false);
    const auto dpiDefaults = performanceDefaults(folder, QStringLiteral("fuzz"), true);
    if (dpiDefaults.size() > defaults.size())
        __builtin_trap();
    for (const KeyEntry& key : details.keys)
        (void)defaultBindingOf(key);

    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto usage = [](const QString& path) {
        return std::optional<std::pair<int, int>>(
            {path.size() % 2 ? 0xFF01 : 0x0001, path.size() % 3 ? 0x10 : 0});
    };
    for (const DeviceMode& mode : catalog.modes) {
        const QString path = QStringLiteral("HID#VID_%1&PID_%2&MI_02")
                                 .arg(mode.vid, 4, 16, QLatin1Char('0'))
                                 .arg(mode.pid, 4, 16, QLatin1Char('0'));
        if (matchDeviceChange(path, false, true, catalog, usage) != kDeviceRemovedTask)
            __builtin_trap(); // every catalog interface must be recognised on removal
    }
    (void)matchDeviceChange(text, true, true, catalog, usage);
    (void)matchDeviceChange(text, false, true, catalog, usage);
    return 0;
}
