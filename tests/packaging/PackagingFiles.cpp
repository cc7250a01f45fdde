#include "PackagingFiles.h"

#include "catalog/DeviceCatalog.h"

#include <QFile>

namespace corvane::packaging {

std::set<UsbId> catalogUsbIds() {
    std::set<UsbId> ids;
    for (const catalog::DeviceMode& mode : catalog::readCatalog(kConfigXml).modes)
        ids.insert({mode.vid, mode.pid});
    return ids;
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace corvane::packaging
