// Any bytes as a profile file, imported into the current profile of a store that holds
// only values the rules allow: afterwards it still does, every macro key plays a macro
// of the store, and the store is put back after each input.

#include "FuzzStore.h"

#include "exchange/ProfileFile.h"
#include "store/SettingKey.h"

using namespace corvane::exchange;
using namespace corvane;

namespace {

// The mouse of this fuzzer: keys 1 to 7, any function but type 9.
bool takenBinding(const store::ButtonBinding& binding) {
    return binding.keyCode >= 1 && binding.keyCode <= 7 && binding.macroType != 9;
}

void checkProfile() {
    for (const store::SettingKey& key : store::kSettingKeys) {
        QString value;
        fuzz::db().getSetting(1, QString::fromLatin1(key.name), value);
        fuzz::check(store::isValidSettingText(QString::fromLatin1(key.name), value) ||
                        value == QLatin1String(key.defaultValue),
                    key.name);
    }
    fuzz::check(store::isStageIndex(fuzz::db().getSettingInt(1, u"dpi_index"),
                                    fuzz::db().getSettingInt(1, u"dpi_count")),
                "stage index below the count");
    std::vector<store::LightEffect> lights;
    fuzz::db().listLights(1, lights);
    for (const store::LightEffect& light : lights) {
        fuzz::check(store::kBrightnessRange.contains(light.brightness) &&
                        store::kSpeedRange.contains(light.speed),
                    "light levels");
        for (int colour : light.colorValues) {
            fuzz::check(store::kColourRange.contains(colour), "light colour");
        }
    }
    fuzz::check(
        fuzz::db().getCurrentLightMode(1) != 0 || lights.empty() ||
            std::any_of(lights.begin(), lights.end(),
                        [](const store::LightEffect& l) { return l.mode == 0 && l.status; }),
        "a current light mode");
    std::vector<store::ButtonBinding> bindings;
    fuzz::db().listBindings(1, bindings);
    for (const store::ButtonBinding& binding : bindings) {
        fuzz::check(takenBinding(binding), "only bindings the mouse takes");
        store::MacroDefinition macro;
        fuzz::check(binding.macroType != 4 || fuzz::db().getMacro(binding.macroValue, macro),
                    "macro keys play a stored macro");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareStore();
    const QString path = fuzz::inputFile(data, size);
    store::StoreTransaction undo(fuzz::db());
    ProfileImportOptions options;
    options.takesBinding = takenBinding;
    options.hasLighting = size % 2 == 0;
    if (size % 3 == 0) {
        options.sensorId = 0x11;
    }
    const ProfileImportResult result = importProfile(fuzz::db(), 1, path, options);
    fuzz::check(result.pushProfile == (result.status == ExchangeStatus::Done), "push on success");
    checkProfile();
    fuzz::checkMacros();
    return 0;
}
