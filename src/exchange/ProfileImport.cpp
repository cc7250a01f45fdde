#include "exchange/ExchangeFile.h"
#include "exchange/ProfileFile.h"
#include "exchange/ProfileFileContent.h"

#include "store/AppList.h"
#include "store/ProfileDatabase.h"
#include "store/SettingKey.h"
#include "store/StoreTransaction.h"
#include "store/ValueRules.h"

#include <QFileInfo>

#include <map>
#include <optional>

namespace corvane::exchange {

namespace {

constexpr int kMacroBinding = 4; // a binding of this type plays the macro macroValue names
// A mouse has a few dozen keys and lighting modes; a file with many more is not a profile.
constexpr std::size_t kMaxFileBindings = 512;
constexpr std::size_t kMaxFileLights = 256;

// One import, run inside a store step. Each function returns false when a store write
// failed; the caller then undoes the whole step.
class ProfileImport {
public:
    ProfileImport(store::ProfileDatabase& database, int profile,
                  const ProfileImportOptions& options, ProfileImportResult& result)
        : db_(database), profile_(profile), options_(options), result_(result) {}

    bool apply(const ProfileFileContent& content) {
        if (!result_.profileName.isEmpty() && !db_.renameProfile(profile_, result_.profileName)) {
            return false;
        }
        // The profile loses every binding, whether or not the file gives it any.
        return db_.deleteBindings(profile_) && storeBindings(content) && storeLights(content) &&
               storeSettings(content) && storeAppRules(content);
    }

private:
    // The id a macro binding plays here, 0 for none; stores the file's macro on first use.
    bool macroFor(const ProfileFileContent& content, int fileId, int& id) {
        if (const auto known = macroIds_.find(fileId); known != macroIds_.end()) {
            id = known->second;
            return true;
        }
        id = 0;
        if (!carried_) {
            // The file's macros by their id, once (the first of a repeated id counts).
            carried_.emplace();
            for (const FileMacro& macro : content.macros) {
                if (macro.sourceId > 0) {
                    carried_->emplace(macro.sourceId, &macro);
                }
            }
        }
        const auto found = carried_->find(fileId);
        const FileMacro* carried = found != carried_->end() ? found->second : nullptr;
        if (carried != nullptr) {
            if (followsMacroRules(*carried)) {
                if (!identical_) {
                    identical_.emplace(db_);
                }
                id = identical_->find(*carried);
                if (id == 0) {
                    id = storeMacro(db_, *carried);
                    if (id == 0) {
                        return false;
                    }
                    identical_->add(id, *carried);
                    result_.macros.push_back({id, carried->macro.name});
                }
            }
        } else {
            // A file without the macro: the stated rule keeps the id, if it names one here.
            store::MacroDefinition existing;
            if (db_.getMacro(fileId, existing)) {
                id = fileId;
            }
        }
        macroIds_[fileId] = id;
        return true;
    }

    bool storeBindings(const ProfileFileContent& content) {
        for (store::ButtonBinding binding : content.bindings) {
            binding.profile = profile_;
            binding.fnLayer = 0;
            // A key the mouse lacks, the primary key, or a function no page gives: the
            // push would send it into another key's slot or as garbage.
            if (!options_.takesBinding || !options_.takesBinding(binding)) {
                ++result_.refused;
                continue;
            }
            if (binding.macroType == kMacroBinding) {
                int id = 0;
                if (!macroFor(content, binding.macroValue, id)) {
                    return false;
                }
                if (id == 0) {
                    ++result_.refused; // it would play nothing, or another macro
                    continue;
                }
                binding.macroValue = id;
            }
            // saveBinding stores nothing for an item whose two first values are 0 (and
            // answers 0 then, as it does on a failure: tell the two apart).
            const bool stores = binding.macroValue != 0 || binding.macroValue2 != 0;
            if (db_.saveBinding(binding) == 0 && stores) {
                return false;
            }
            std::erase(result_.macroKeys, binding.keyCode); // a later item replaces the key's
            if (binding.macroType == kMacroBinding) {
                result_.macroKeys.push_back(binding.keyCode);
            }
        }
        return true;
    }

    // A ruled number of the file, or nothing when the text breaks the rule.
    std::optional<int> ruled(const QString& text, const store::IntRange& range) {
        const std::optional<int> value = store::plainDecimal(text);
        if (!value || !range.contains(*value)) {
            ++result_.refused;
            return std::nullopt;
        }
        return value;
    }

    bool storeLights(const ProfileFileContent& content) {
        if (!options_.hasLighting || !content.hasLightItems) {
            return true;
        }
        store::LightEffect light;
        // The current mode must be one the profile has; another would leave it with none.
        const std::optional<int> mode = store::plainDecimal(content.lightMode);
        if (mode && db_.getLight(profile_, *mode, light)) {
            if (!db_.setCurrentLightMode(profile_, *mode)) {
                return false;
            }
        } else {
            ++result_.refused;
        }
        for (const LightItemText& item : content.lights) {
            const std::optional<int> itemMode = store::plainDecimal(item[0]);
            if (!itemMode || !db_.getLight(profile_, *itemMode, light)) {
                continue; // a mode the profile has no row for changes nothing
            }
            if (const auto v = ruled(item[1], store::kBrightnessRange)) {
                light.brightness = *v;
            }
            if (const auto v = ruled(item[2], store::kSpeedRange)) {
                light.speed = *v;
            }
            light.direction = store::settingValueToInt(item[3]);
            light.colorful = store::settingValueToInt(item[4]);
            light.colorIndex = store::settingValueToInt(item[5]);
            for (std::size_t c = 0; c < light.colorValues.size(); ++c) {
                if (const auto v = ruled(item[6 + c], store::kColourRange)) {
                    light.colorValues[c] = *v;
                }
            }
            if (!db_.updateLight(*itemMode, light)) {
                return false;
            }
        }
        return true;
    }

    // The text to store for a setting of the file, or nothing to keep the profile's.
    std::optional<QString> settingText(const QString& key, const QString& text, int stageCount) {
        const bool stageValue = key.startsWith(u"dpi_group") && key.endsWith(u"_value");
        if (!store::isValidSettingText(key, text)) {
            ++result_.refused;
            return std::nullopt;
        }
        if (key == u"dpi_index" &&
            !store::isStageIndex(store::plainDecimal(text).value_or(-1), stageCount)) {
            ++result_.refused;
            return std::nullopt;
        }
        if (stageValue && options_.sensorId) {
            return QString::number(store::snapDpi(*options_.sensorId, text.toInt()));
        }
        return text;
    }

    bool storeSettings(const ProfileFileContent& content) {
        // The stage index is checked against the count the profile will have.
        int stageCount = db_.getSettingInt(profile_, u"dpi_count");
        bool countFromFile = false;
        for (const auto& [key, text] : content.settings) {
            if (key == u"dpi_count" && store::isValidSettingText(key, text)) {
                stageCount = text.toInt();
                countFromFile = true;
            }
        }
        for (const auto& [key, text] : content.settings) {
            if (const std::optional<QString> stored = settingText(key, text, stageCount)) {
                if (!db_.setSetting(profile_, key, *stored)) {
                    return false;
                }
            }
        }
        // A count that shrank below the profile's own index takes the last stage, as the
        // performance page does.
        const int index = db_.getSettingInt(profile_, u"dpi_index");
        if (countFromFile && index >= stageCount) {
            return db_.setSetting(profile_, u"dpi_index", QString::number(stageCount - 1));
        }
        return true;
    }

    // The file's applications become the profile's whole list, taken from any other
    // profile that named them (an application chooses one profile). A file without
    // them, or with none that keeps the rules, leaves the profile's list as it is.
    bool storeAppRules(const ProfileFileContent& content) {
        QStringList apps;
        for (const QString& app : content.apps) {
            if (store::isValidAppName(app)) {
                apps.append(app);
            } else {
                ++result_.refused;
            }
        }
        if (apps.isEmpty()) {
            return true;
        }
        return store::giveAppsToProfile(db_, profile_, apps, &result_.appsMovedFrom);
    }

    store::ProfileDatabase& db_;
    int profile_;
    const ProfileImportOptions& options_;
    ProfileImportResult& result_;
    std::map<int, int> macroIds_; // file id -> id here (0: none)
    std::optional<std::map<int, const FileMacro*>> carried_;
    std::optional<IdenticalMacros> identical_;
};

} // namespace

QString profileNameFromPath(const QString& path) {
    const QString fileName = QFileInfo(path).fileName();
    if (fileName.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) {
        return fileName.chopped(4);
    }
    return fileName;
}

std::optional<FileOrigin> readProfileOrigin(const QString& path) {
    xml::MarkupDocument document;
    if (loadExchangeFile(path, document) != ExchangeStatus::Done ||
        !document.findElem(QStringLiteral("profile"))) {
        return std::nullopt;
    }
    return readOrigin(document);
}

ProfileImportResult importProfile(store::ProfileDatabase& database, int profile,
                                  const QString& path, const ProfileImportOptions& options) {
    ProfileImportResult result;
    xml::MarkupDocument document;
    result.status = loadExchangeFile(path, document);
    if (result.status != ExchangeStatus::Done) {
        return result;
    }
    ProfileFileContent content;
    if (!readProfileContent(document, options.hasLighting, content) ||
        content.bindings.size() > kMaxFileBindings || content.lights.size() > kMaxFileLights ||
        !withinMacroLimits(content.macros) ||
        content.apps.size() > qsizetype(store::kMaxProfileApps)) {
        result.status = ExchangeStatus::WrongLayout;
        return result;
    }
    result.origin = content.origin;

    store::StoreTransaction step(database);
    QString storedName;
    if (!step.isActive()) {
        result.status = ExchangeStatus::StoreFailed;
        return result;
    }
    if (!database.getProfileName(profile, storedName)) {
        result.status = ExchangeStatus::NotFound; // no such profile to import into
        return result;
    }
    result.profileName = profileNameFromPath(path);
    if (result.profileName.isEmpty()) {
        result.profileName = storedName; // a file named ".xml" leaves the name alone
    }
    ProfileImport import(database, profile, options, result);
    if (!import.apply(content) || !step.commit()) {
        ProfileImportResult failed;
        failed.status = ExchangeStatus::StoreFailed;
        failed.origin = content.origin;
        return failed;
    }
    result.status = ExchangeStatus::Done;
    result.pushProfile = true;
    return result;
}

} // namespace corvane::exchange
