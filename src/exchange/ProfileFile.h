#pragma once

#include "exchange/ExchangeStatus.h"
#include "exchange/MacroFile.h"
#include "store/ButtonBinding.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::exchange {

// Profile files: a profile's bindings, lights and performance settings (root profile,
// profileinfo with keyitems, Lightitems, Mouse_DPI and Mouse, read forward only in
// that order). Files written here also carry, where the stated layout's readers never
// look, the mouse they were made for (attributes of the root) and the macros the
// bindings play (key_macros, after Mouse) and the applications the profile is for
// (app_rules, last), so a profile moves whole to another computer.

// The device a file was made for; both empty in files that do not say.
struct FileOrigin {
    int deviceType = 0;
    QString deviceName;

    bool isKnown() const { return deviceType > 0 || !deviceName.isEmpty(); }
};

struct ProfileExportOptions {
    // The current device type has lighting: Lightitems is written.
    bool hasLighting = false;
    // The profile word (interface text 61): the file names the profile as the profile
    // button shows it.
    QString profileWord;
    // Recorded in the file so an import elsewhere can ask before taking it.
    FileOrigin origin;
};

// Writes the profile: everything in the file comes from this one profile, read in one
// moment of the store. NotFound when the profile does not exist.
ExchangeStatus exportProfile(store::ProfileDatabase& database, int profile, const QString& path,
                             const ProfileExportOptions& options);

struct ProfileImportOptions {
    // The current device type has lighting: Lightitems is read.
    bool hasLighting = false;
    // The mouse's sensor when known: stage DPI values are snapped to what it runs.
    std::optional<int> sensorId;
    // Whether the mouse can hold a binding of the file (its key and its function): an
    // item it refuses is left out and counted. Unset, no binding is taken.
    std::function<bool(const store::ButtonBinding&)> takesBinding;
};

struct ProfileImportResult {
    ExchangeStatus status = ExchangeStatus::StoreFailed;
    QString profileName;               // the name the profile took (the file's name without .xml)
    FileOrigin origin;                 // the device the file says it was made for
    bool pushProfile = false;          // the caller queues the task that sends the whole profile
    std::vector<ImportedMacro> macros; // macros added for the bindings, for the macro lists
    // The keys that now play a macro: the mouse plays what the file meant only once
    // their macros are downloaded (the profile push downloads every bound key's macro).
    std::vector<int> macroKeys;
    int refused = 0; // values, bindings and application names the rules kept out
    // The profiles that lost an application the file gave this one.
    std::vector<int> appsMovedFrom;
};

// The device a profile file was made for, read without importing anything, so the
// window can ask before importing a file made for another model. Nothing when the file
// cannot be read or is no profile file.
std::optional<FileOrigin> readProfileOrigin(const QString& path);

// Imports a profile file into the profile (the current one), all or nothing in one
// store step. The profile takes the file's name without its .xml ending and loses
// every binding the file does not give it again; lights change only for modes the
// profile has; each value is checked with the store's value rules and a value outside
// them keeps the profile's own. A macro binding plays the file's own macro when the
// file carries it (an identical macro already stored is used, else it is added),
// otherwise an existing macro of the same id; a binding naming no macro is left out.
// Applications the file names become the profile's and leave any other profile; a file
// naming none leaves the profile's applications alone. A file without profileinfo, or
// with more of anything than a profile holds, changes nothing (WrongLayout).
ProfileImportResult importProfile(store::ProfileDatabase& database, int profile,
                                  const QString& path, const ProfileImportOptions& options);

// The profile's new name for an imported file: its file name less a final ".xml" (in
// any case); the whole file name when it has no such ending.
QString profileNameFromPath(const QString& path);

} // namespace corvane::exchange
