#include "catalog/CatalogEntries.h"
#include "catalog/DeviceCatalog.h"
#include "catalog/TextNumbers.h"
#include "xml/MarkupDocument.h"

namespace corvane::catalog {
namespace {

using xml::MarkupDocument;

// Loads the file and enters its root element when it has the expected name.
bool enterRoot(MarkupDocument& doc, const QString& path, const QString& rootName) {
    return doc.load(path) && doc.findElem(rootName) && doc.intoElem();
}

QString urlOf(MarkupDocument& doc, const QString& element) {
    return doc.findElem(element) ? doc.getAttrib(QStringLiteral("url")) : QString();
}

} // namespace

DeviceDescription readMouseEntry(MarkupDocument& doc) {
    DeviceDescription device;
    device.name = doc.getAttrib(QStringLiteral("name"));
    device.deviceType = leadingInt(doc.getAttrib(QStringLiteral("device_type")));
    device.deviceAttr = doc.getAttrib(QStringLiteral("device_attr"));
    device.image = doc.getAttrib(QStringLiteral("image"));
    return device;
}

DeviceMode readModeEntry(MarkupDocument& doc, const DeviceDescription& device) {
    DeviceMode mode;
    mode.device = device;
    mode.mode = leadingInt(doc.getAttrib(QStringLiteral("value")));
    mode.desc = doc.getAttrib(QStringLiteral("desc"));
    mode.vid = leadingHex(doc.getAttrib(QStringLiteral("vid")));
    mode.pid = leadingHex(doc.getAttrib(QStringLiteral("pid")));
    mode.devId = doc.getAttrib(QStringLiteral("dev_id"));
    mode.hidInterface = doc.getAttrib(QStringLiteral("hid_interface"));
    return mode;
}

namespace {

void readDeviceList(MarkupDocument& doc, DeviceCatalog& catalog) {
    while (doc.findElem(QStringLiteral("mouse"))) {
        const DeviceDescription device = readMouseEntry(doc);
        catalog.devices.push_back(device);
        if (doc.intoElem()) {
            while (doc.findElem(QStringLiteral("mode")))
                catalog.modes.push_back(readModeEntry(doc, device));
            doc.outOfElem();
        }
    }
}

void readProduct(MarkupDocument& doc, ProductInfo& product) {
    product.version = doc.getAttrib(QStringLiteral("version"));
    if (!doc.intoElem())
        return;
    // Forward lookups: the links are read in the order the file keeps them.
    product.website = urlOf(doc, QStringLiteral("website"));
    product.feedback = urlOf(doc, QStringLiteral("feedback"));
    product.qa = urlOf(doc, QStringLiteral("qa"));
    product.store = urlOf(doc, QStringLiteral("store"));
    product.upgrade = urlOf(doc, QStringLiteral("upgrade"));
    doc.outOfElem();
}

} // namespace

QString DeviceDescription::imagePath(const QString& skinFolder) const {
    QString folder = skinFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    // A user's model names its picture by its full path.
    if (image.startsWith(u'/'))
        return image;
    return folder + QStringLiteral("device/") + image;
}

StartupInfo readStartupInfo(const QString& configXmlPath) {
    StartupInfo info;
    MarkupDocument doc;
    if (!enterRoot(doc, configXmlPath, QStringLiteral("config")))
        return info;
    info.loaded = true;
    if (doc.findElem(QStringLiteral("language.info"))) {
        info.defaultLanguage = leadingInt(doc.getAttrib(QStringLiteral("default_lan")));
        if (doc.intoElem()) {
            while (doc.findElem(QStringLiteral("lan")))
                info.languages.push_back(leadingInt(doc.getAttrib(QStringLiteral("value"))));
            doc.outOfElem();
        }
    }
    // "software" follows "language.info": the lookup continues from there.
    if (doc.findElem(QStringLiteral("software")))
        info.caption = doc.getAttrib(QStringLiteral("caption"));
    return info;
}

DeviceCatalog readCatalog(const QString& configXmlPath) {
    DeviceCatalog catalog;
    MarkupDocument doc;
    if (!enterRoot(doc, configXmlPath, QStringLiteral("config")))
        return catalog;
    if (doc.findElem(QStringLiteral("device")) && doc.intoElem()) {
        readDeviceList(doc, catalog);
        doc.outOfElem();
    }
    // "software" follows "device": the lookup continues from there.
    if (doc.findElem(QStringLiteral("software")))
        readProduct(doc, catalog.product);
    return catalog;
}

std::optional<DeviceDescription> findDescription(const DeviceCatalog& catalog, int deviceType) {
    for (const DeviceDescription& device : catalog.devices) {
        if (device.deviceType == deviceType)
            return device;
    }
    return std::nullopt;
}

QString deviceAttrOf(const DeviceCatalog& catalog, int deviceType) {
    const std::optional<DeviceDescription> device = findDescription(catalog, deviceType);
    return device ? device->deviceAttr : QString();
}

} // namespace corvane::catalog
