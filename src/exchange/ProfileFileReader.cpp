#include "exchange/ExchangeFile.h"
#include "exchange/ProfileFileContent.h"

#include "store/AppList.h"

namespace corvane::exchange {

namespace {

const QString kDeviceType = QStringLiteral("device_type");
const QString kDeviceName = QStringLiteral("device_name");
const QString kValue = QStringLiteral("value");

QString name(const char16_t* text) {
    return QString::fromUtf16(text);
}

void readBindings(xml::MarkupDocument& document, ProfileFileContent& content) {
    content.hasKeyItems = true;
    document.intoElem();
    while (document.findElem(QStringLiteral("item"))) {
        store::ButtonBinding& binding = content.bindings.emplace_back();
        binding.keyCode = numberAttribute(document, QStringLiteral("key_code"));
        binding.macroType = numberAttribute(document, QStringLiteral("macro_type"));
        binding.macroValue = numberAttribute(document, QStringLiteral("macro_value"));
        binding.macroValue2 = numberAttribute(document, QStringLiteral("macro_value2"));
        binding.macroValue3 = numberAttribute(document, QStringLiteral("macro_value3"));
        binding.macroDesc = document.getAttrib(QStringLiteral("macro_desc"));
    }
    document.outOfElem();
}

void readLights(xml::MarkupDocument& document, ProfileFileContent& content) {
    content.hasLightItems = true;
    content.lightMode = document.getAttrib(QStringLiteral("lightmode"));
    document.intoElem();
    while (document.findElem(QStringLiteral("item"))) {
        LightItemText& item = content.lights.emplace_back();
        for (std::size_t i = 0; i < kLightAttributes.size(); ++i) {
            item[i] = document.getAttrib(name(kLightAttributes[i]));
        }
    }
    document.outOfElem();
}

void readStages(xml::MarkupDocument& document, ProfileFileContent& content) {
    // A missing attribute gives an empty text, which no rule lets through.
    for (const char16_t* key : kStageSettings) {
        content.settings.emplace_back(name(key), document.getAttrib(name(key)));
    }
    document.intoElem();
    for (int stage = 0; stage < kFileStages; ++stage) {
        if (document.findElem(QStringLiteral("DPI%1").arg(stage + 1))) {
            content.settings.emplace_back(QStringLiteral("dpi_group%1_value").arg(stage),
                                          document.getAttrib(kValue));
            content.settings.emplace_back(QStringLiteral("dpi_group%1_rgb").arg(stage),
                                          document.getAttrib(QStringLiteral("color")));
        }
    }
    document.outOfElem();
}

void readMouseSettings(xml::MarkupDocument& document, ProfileFileContent& content) {
    document.intoElem();
    for (const char16_t* key : kMouseSettings) {
        if (document.findElem(name(key))) {
            content.settings.emplace_back(name(key), document.getAttrib(kValue));
        }
    }
    document.outOfElem();
}

void readAppRules(xml::MarkupDocument& document, ProfileFileContent& content) {
    content.hasAppRules = true;
    document.intoElem();
    // One past the limit is enough to refuse the file; a hostile one is not read whole.
    while (content.apps.size() <= qsizetype(store::kMaxProfileApps) &&
           document.findElem(name(kAppElement))) {
        content.apps.append(document.getAttrib(name(kAppNameAttribute)));
    }
    document.outOfElem();
}

} // namespace

FileOrigin readOrigin(const xml::MarkupDocument& document) {
    return {numberAttribute(document, kDeviceType), document.getAttrib(kDeviceName)};
}

void writeOrigin(xml::MarkupDocument& document, const FileOrigin& origin) {
    if (origin.deviceType > 0) {
        document.setAttrib(kDeviceType, origin.deviceType);
    }
    if (!origin.deviceName.isEmpty()) {
        document.setAttrib(kDeviceName, origin.deviceName);
    }
}

bool readProfileContent(xml::MarkupDocument& document, bool readLights,
                        ProfileFileContent& content) {
    if (!document.findElem(QStringLiteral("profile"))) {
        return false;
    }
    content.origin = readOrigin(document);
    document.intoElem();
    if (!document.findElem(QStringLiteral("profileinfo"))) {
        return false;
    }
    document.intoElem();
    if (document.findElem(QStringLiteral("keyitems"))) {
        readBindings(document, content);
    }
    if (readLights && document.findElem(QStringLiteral("Lightitems"))) {
        exchange::readLights(document, content);
    }
    if (document.findElem(QStringLiteral("Mouse_DPI"))) {
        readStages(document, content);
    }
    if (document.findElem(QStringLiteral("Mouse"))) {
        readMouseSettings(document, content);
    }
    if (document.findElem(QStringLiteral("key_macros"))) {
        content.hasMacros = true;
        document.intoElem();
        content.macros = readMacroItems(document);
        document.outOfElem();
    }
    if (document.findElem(name(kAppRulesElement))) {
        readAppRules(document, content);
    }
    return true;
}

} // namespace corvane::exchange
