#include "catalog/DeviceDetails.h"
#include "catalog/TextNumbers.h"
#include "catalog/UserDevices.h"
#include "xml/MarkupDocument.h"

#include <QDir>
#include <QFileInfo>

namespace corvane::catalog {
namespace {

using xml::MarkupDocument;

bool enterDeviceFile(MarkupDocument& doc, const QString& exeFolder, const QString& deviceAttr) {
    return doc.load(deviceFilePath(exeFolder, deviceAttr)) &&
           doc.findElem(QStringLiteral("mouse")) && doc.intoElem();
}

bool flagAttrib(MarkupDocument& doc, const QString& name) {
    return flagOf(doc.getAttrib(name));
}

KeyEntry readKey(MarkupDocument& doc) {
    KeyEntry key;
    key.nameText = doc.getAttrib(QStringLiteral("name"));
    key.nameId = leadingInt(key.nameText);
    key.keyValue = leadingInt(doc.getAttrib(QStringLiteral("key_value")));
    key.direction = leadingInt(doc.getAttrib(QStringLiteral("direction")));
    key.callout = parseCallout(doc.getAttrib(QStringLiteral("rect")));
    key.funcDescText = doc.getAttrib(QStringLiteral("func_desc"));
    key.funcDescId = leadingInt(key.funcDescText);
    key.dashed = flagAttrib(doc, QStringLiteral("dashed"));
    key.funcType = leadingInt(doc.getAttrib(QStringLiteral("func_type")));
    key.funcValue = leadingInt(doc.getAttrib(QStringLiteral("func_value")));
    return key;
}

void readCustomFlags(MarkupDocument& doc, DeviceDetails& details) {
    details.showDpiTips = flagAttrib(doc, QStringLiteral("show_dpitips"));
    details.showSaveTips = flagAttrib(doc, QStringLiteral("show_savetips"));
    details.showLod = flagAttrib(doc, QStringLiteral("show_lod"));
    details.showSensor = flagAttrib(doc, QStringLiteral("show_sensor"));
    details.showRespondTime = flagAttrib(doc, QStringLiteral("show_respondtime"));
}

// Inside "mouse_info": the light_1 ... light_6 flags; missing ones keep their value.
void readLightEffects(MarkupDocument& doc, DeviceDetails& details) {
    if (!doc.findElem(QStringLiteral("light_info")) || !doc.intoElem())
        return;
    for (int n = 1; n <= kLightEffectCount; ++n) {
        if (doc.findElem(QStringLiteral("light_%1").arg(n)))
            details.lightEffects[n - 1] = flagAttrib(doc, QStringLiteral("enable"));
    }
    doc.outOfElem();
}

using SettingPairs = std::vector<std::pair<QString, QString>>;

void putSetting(SettingPairs& out, const QString& key, const QString& value) {
    // An empty attribute reads the same as a missing one: nothing to write.
    if (!value.isEmpty())
        out.emplace_back(key, value);
}

// Inside "mouse_info": the DPI stages of "dpi_info".
void readDpiDefaults(MarkupDocument& doc, SettingPairs& out) {
    if (!doc.findElem(QStringLiteral("dpi_info")))
        return;
    putSetting(out, QStringLiteral("dpi_index"), doc.getAttrib(QStringLiteral("default_dpi")));
    const QString count = doc.getAttrib(QStringLiteral("dpi_count"));
    putSetting(out, QStringLiteral("dpi_flag"), count);
    putSetting(out, QStringLiteral("dpi_count"), count);
    if (!doc.intoElem())
        return;
    for (int n = 1; n <= 6; ++n) {
        if (!doc.findElem(QStringLiteral("dpi_%1").arg(n)))
            continue;
        const int stage = n - 1;
        putSetting(out, QStringLiteral("dpi_group%1_value").arg(stage),
                   doc.getAttrib(QStringLiteral("value")));
        const QString colour = doc.getAttrib(QStringLiteral("color"));
        if (!colour.isEmpty())
            putSetting(out, QStringLiteral("dpi_group%1_rgb").arg(stage),
                       QString::number(parseColour(colour)));
    }
    doc.outOfElem();
}

// Inside "mouse_info", after "dpi_info": the remaining performance values.
void readOtherDefaults(MarkupDocument& doc, SettingPairs& out) {
    if (doc.findElem(QStringLiteral("report_rate"))) {
        // The cable and the 2.4 GHz rate start from the same factory value, as the
        // performance page always writes both together.
        const QString rate = doc.getAttrib(QStringLiteral("default_value"));
        putSetting(out, QStringLiteral("report_rate"), rate);
        putSetting(out, QStringLiteral("report_rate_wireless"), rate);
    }
    struct ValueElement {
        const char16_t* element;
        const char16_t* setting;
    };
    static constexpr ValueElement kValueElements[] = {
        {u"sleep_light", u"sleep_light"},
        {u"move_wakeup", u"move_wakeup"},
        {u"move_closelight", u"move_closelight"},
        {u"lod", u"liftoff_height"},
        {u"button_respondtime", u"button_respondtime"},
    };
    for (const ValueElement& entry : kValueElements) {
        if (doc.findElem(QString::fromUtf16(entry.element)))
            putSetting(out, QString::fromUtf16(entry.setting),
                       doc.getAttrib(QStringLiteral("value")));
    }
}

} // namespace

DefaultBinding defaultBindingOf(const KeyEntry& key) {
    DefaultBinding binding;
    binding.keyCode = key.keyValue;
    binding.layoutValue = key.keyValue;
    binding.layoutDesc = key.nameText;
    binding.macroType = key.funcType;
    binding.macroValue = key.funcValue;
    binding.macroDesc = key.funcDescText;
    return binding;
}

std::vector<DefaultBinding> defaultBindingsOf(const std::vector<KeyEntry>& keys) {
    std::vector<DefaultBinding> bindings;
    bindings.reserve(keys.size());
    for (const KeyEntry& key : keys)
        bindings.push_back(defaultBindingOf(key));
    return bindings;
}

QString deviceFilePath(const QString& exeFolder, const QString& deviceAttr) {
    if (const QString userFile = userDeviceFileOf(deviceAttr); !userFile.isEmpty())
        return userFile;
    QString folder = exeFolder;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder + QStringLiteral("device/") + deviceAttr + QStringLiteral(".xml");
}

bool readDeviceDetails(const QString& exeFolder, const QString& deviceAttr, DeviceDetails& inOut) {
    MarkupDocument doc;
    if (!enterDeviceFile(doc, exeFolder, deviceAttr))
        return false;
    // The children of "mouse" are looked up forward, in the file's order.
    const bool hasPicture = doc.findElem(QStringLiteral("image_file"));
    const QString picture = hasPicture ? doc.getAttrib(QStringLiteral("mouse_img")) : QString();
    if (const QString userFolder = userDeviceFolderOf(deviceAttr); !userFolder.isEmpty()) {
        // A user's model draws its callouts on its own picture beside the file, or on
        // the neutral outline; never on the picture of the model shown before it.
        const QFileInfo own(QDir(userFolder), picture);
        inOut.mousePicture = !picture.isEmpty() && own.isFile()
                                 ? own.absoluteFilePath()
                                 : QString::fromLatin1(kOutlinePicture);
    } else if (hasPicture) {
        inOut.mousePicture = QStringLiteral("device/") + picture;
    }
    if (doc.findElem(QStringLiteral("menu")))
        inOut.hasLighting = flagAttrib(doc, QStringLiteral("light"));
    if (doc.findElem(QStringLiteral("custom")))
        readCustomFlags(doc, inOut);
    // A device file without a firmware address has none: the previous type's address
    // would fetch (and write) another device's firmware.
    inOut.firmwareUrl =
        doc.findElem(QStringLiteral("firmware")) ? doc.getAttrib(QStringLiteral("url")) : QString();
    if (doc.findElem(QStringLiteral("mouse_key"))) {
        inOut.keys.clear();
        if (doc.intoElem()) {
            while (doc.findElem(QStringLiteral("key")))
                inOut.keys.push_back(readKey(doc));
            doc.outOfElem();
        }
    }
    if (doc.findElem(QStringLiteral("mouse_info")) && doc.intoElem()) {
        readLightEffects(doc, inOut);
        doc.outOfElem();
    }
    return true;
}

std::vector<std::pair<QString, QString>>
performanceDefaults(const QString& exeFolder, const QString& deviceAttr, bool dpiOnly) {
    SettingPairs out;
    MarkupDocument doc;
    if (!enterDeviceFile(doc, exeFolder, deviceAttr) ||
        !doc.findElem(QStringLiteral("mouse_info")) || !doc.intoElem())
        return out;
    readDpiDefaults(doc, out);
    if (!dpiOnly)
        readOtherDefaults(doc, out);
    return out;
}

} // namespace corvane::catalog
