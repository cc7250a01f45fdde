#include "exchange/ExchangeFile.h"
#include "exchange/ProfileFile.h"
#include "exchange/ProfileFileContent.h"

#include "store/AppList.h"
#include "store/LightEffect.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"

#include <mutex>
#include <set>

namespace corvane::exchange {

namespace {

constexpr int kMacroBinding = 4;

QString name(const char16_t* text) {
    return QString::fromUtf16(text);
}

// Everything the file holds, read from one profile while the store is locked.
struct ProfileSnapshot {
    QString name;
    std::vector<store::ButtonBinding> bindings;
    int lightMode = 0;
    std::vector<store::LightEffect> lights;
    std::vector<FileMacro> macros;
    QStringList apps;
};

QString setting(store::ProfileDatabase& database, int profile, const QString& key) {
    QString value;
    database.getSetting(profile, key, value); // an unreadable setting is written empty
    return value;
}

void readMacros(store::ProfileDatabase& database, ProfileSnapshot& snapshot) {
    std::set<int> written;
    for (const store::ButtonBinding& binding : snapshot.bindings) {
        if (binding.macroType != kMacroBinding || !written.insert(binding.macroValue).second) {
            continue;
        }
        FileMacro macro;
        if (!database.getMacro(binding.macroValue, macro.macro)) {
            continue; // a deleted macro: the binding still names it, as stored
        }
        macro.sourceId = binding.macroValue;
        database.listMacroEvents(binding.macroValue, macro.steps);
        snapshot.macros.push_back(std::move(macro));
    }
}

void writeBindings(xml::MarkupDocument& document, const ProfileSnapshot& snapshot) {
    document.addElem(QStringLiteral("keyitems"));
    document.intoElem();
    for (const store::ButtonBinding& binding : snapshot.bindings) {
        document.addElem(QStringLiteral("item"));
        document.setAttrib(QStringLiteral("key_code"), binding.keyCode);
        document.setAttrib(QStringLiteral("macro_type"), binding.macroType);
        document.setAttrib(QStringLiteral("macro_value"), binding.macroValue);
        document.setAttrib(QStringLiteral("macro_value2"), binding.macroValue2);
        document.setAttrib(QStringLiteral("macro_value3"), binding.macroValue3);
        document.setAttrib(QStringLiteral("macro_desc"), binding.macroDesc);
    }
    document.outOfElem();
}

void writeLights(xml::MarkupDocument& document, const ProfileSnapshot& snapshot) {
    document.addElem(QStringLiteral("Lightitems"));
    document.setAttrib(QStringLiteral("lightmode"), snapshot.lightMode);
    document.intoElem();
    for (const store::LightEffect& light : snapshot.lights) {
        const std::array<int, kLightAttributes.size()> values = {
            light.mode,           light.brightness,     light.speed,          light.direction,
            light.colorful,       light.colorIndex,     light.colorValues[0], light.colorValues[1],
            light.colorValues[2], light.colorValues[3], light.colorValues[4], light.colorValues[5],
            light.colorValues[6]};
        document.addElem(QStringLiteral("item"));
        for (std::size_t i = 0; i < values.size(); ++i) {
            document.setAttrib(name(kLightAttributes[i]), values[i]);
        }
    }
    document.outOfElem();
}

void writeSettings(xml::MarkupDocument& document, store::ProfileDatabase& database, int profile) {
    document.addElem(QStringLiteral("Mouse_DPI"));
    for (const char16_t* key : kStageSettings) {
        document.setAttrib(name(key), setting(database, profile, name(key)));
    }
    document.intoElem();
    for (int stage = 0; stage < kFileStages; ++stage) {
        document.addElem(QStringLiteral("DPI%1").arg(stage + 1));
        document.setAttrib(
            QStringLiteral("value"),
            setting(database, profile, QStringLiteral("dpi_group%1_value").arg(stage)));
        document.setAttrib(
            QStringLiteral("color"),
            setting(database, profile, QStringLiteral("dpi_group%1_rgb").arg(stage)));
    }
    document.outOfElem();
    document.addElem(QStringLiteral("Mouse"));
    document.intoElem();
    for (const char16_t* key : kMouseSettings) {
        document.addElem(name(key));
        document.setAttrib(QStringLiteral("value"), setting(database, profile, name(key)));
    }
    document.outOfElem();
}

} // namespace

ExchangeStatus exportProfile(store::ProfileDatabase& database, int profile, const QString& path,
                             const ProfileExportOptions& options) {
    xml::MarkupDocument document = newExchangeDocument();
    {
        std::lock_guard lock(database.mutex()); // one moment of one profile
        if (!database.isOpen()) {
            return ExchangeStatus::StoreFailed;
        }
        ProfileSnapshot snapshot;
        if (!database.getProfileName(profile, snapshot.name)) {
            return ExchangeStatus::NotFound;
        }
        if (!options.profileWord.isEmpty()) {
            snapshot.name = store::profileDisplayName(snapshot.name, store::kFullProfileWords,
                                                      options.profileWord);
        }
        database.listBindings(profile, snapshot.bindings);
        if (options.hasLighting) {
            snapshot.lightMode = database.getCurrentLightMode(profile);
            database.listLights(profile, snapshot.lights);
        }
        readMacros(database, snapshot);
        QString apps;
        database.getProfileApps(profile, apps);
        snapshot.apps = store::parseAppList(apps);

        document.addElem(QStringLiteral("profile"));
        writeOrigin(document, options.origin);
        document.intoElem();
        document.addElem(QStringLiteral("profileinfo"));
        document.setAttrib(QStringLiteral("name"), snapshot.name);
        document.intoElem();
        writeBindings(document, snapshot);
        if (options.hasLighting) {
            writeLights(document, snapshot);
        }
        writeSettings(document, database, profile);
        if (!snapshot.macros.empty()) {
            document.addElem(QStringLiteral("key_macros"));
            document.intoElem();
            for (const FileMacro& macro : snapshot.macros) {
                writeMacroItem(document, macro);
            }
            document.outOfElem();
        }
        // A profile without applications writes no element: its file reads as before, and
        // importing it leaves the target's applications alone.
        if (!snapshot.apps.isEmpty()) {
            document.addElem(name(kAppRulesElement));
            document.intoElem();
            for (const QString& app : snapshot.apps) {
                document.addElem(name(kAppElement));
                document.setAttrib(name(kAppNameAttribute), app);
            }
        }
    }
    return saveExchangeFile(path, document);
}

} // namespace corvane::exchange
