#pragma once

#include "store/ButtonBinding.h"
#include "store/LightEffect.h"
#include "store/MacroRecords.h"
#include "store/ProfileRecord.h"
#include "store/sqlite/SQLiteDB.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <mutex>
#include <vector>

namespace corvane::store {

// The per-device-type profile store: one SQLite file holding the profiles,
// their settings, button bindings and lights, and the macros shared by all
// profiles. One object per process (instance()). Every operation holds the
// store's recursive lock for its whole duration, so the UI thread and the
// device worker may call it at the same time. Failures are quiet: false, 0
// or an empty result, and stored data is left as it was.
class ProfileDatabase {
public:
    static ProfileDatabase& instance();

    ProfileDatabase(const ProfileDatabase&) = delete;
    ProfileDatabase& operator=(const ProfileDatabase&) = delete;

    // --- connection ---------------------------------------------------------

    // Opens dataFolder + "db/<deviceAttr>_data1.db". An existing file is
    // opened as it is (no table is added); one that SQLite cannot read as a
    // sound database is left untouched and the store stays closed. A missing
    // file is created with the whole schema. A connection to another file is
    // closed first. The result is also kept (opened()).
    bool openForDevice(const QString& dataFolder, const QString& deviceAttr);
    // Creates the file at path() with every table and index; true at once
    // when a connection is open.
    bool createDatabase();
    // False when SQLite refuses to close; the connection then stays usable.
    bool close();

    bool isOpen() const;
    bool opened() const;
    QString path() const;

    // For a caller that runs several operations as one step or a statement
    // of its own on connection(): hold mutex() throughout.
    std::recursive_mutex& mutex() { return mutex_; }
    SQLiteDB& connection() { return connection_; }

    // --- settings (t_configdata) --------------------------------------------

    // Empties value first; true when the profile has a row for key.
    bool getSetting(int profile, QStringView key, QString& value);
    // The setting read as a number; 0 when missing or not a number.
    int getSettingInt(int profile, QStringView key);
    // Updates an existing row only: a key without a row stores nothing (and
    // the UPDATE still succeeds).
    bool setSetting(int profile, QStringView key, const QString& value);
    bool setSetting(int profile, QStringView key, int value);
    // Writes the forty default rows of a new profile; the number written.
    int insertDefaultSettings(int profile);

    // --- profiles (t_profile_data) ------------------------------------------

    // Inserts a profile with record's name and app (status 0, type 0) and its
    // default settings; the new id, 0 on failure (then no setting is written).
    int createProfile(const ProfileRecord& record);
    bool renameProfile(int profile, const QString& name);
    bool getProfileName(int profile, QString& name);
    // Replaces profiles with every row; the number of rows.
    int listProfiles(std::vector<ProfileRecord>& profiles);
    // Clears every status, then marks profile; the result is the second step's.
    bool setCurrentProfile(int profile);
    // The profile with status 1, 0 when none.
    int getCurrentProfile();

    // --- button bindings (t_key_macro_data) ---------------------------------

    // Replaces the button's row; writes a new one only when macroValue or
    // macroValue2 is non-zero. The new id, 0 when nothing was written.
    int saveBinding(const ButtonBinding& binding);
    bool getBinding(int profile, int keyCode, ButtonBinding& binding);
    bool updateBindingDesc(int profile, int keyCode, const QString& desc);
    int listBindings(int profile, std::vector<ButtonBinding>& bindings);
    bool deleteBindings(int profile);

    // --- macros (t_macro_data, t_macrorecord) -------------------------------

    // A new macro with play type 0, one play, delay type 1, delay 0; its id,
    // 0 on failure.
    int createMacro(const QString& name);
    int insertMacro(const MacroDefinition& macro);
    bool renameMacro(int macroId, const QString& name);
    bool updateMacro(int macroId, const MacroDefinition& macro);
    bool getMacro(int macroId, MacroDefinition& macro);
    int listMacros(std::vector<MacroDefinition>& macros);
    // Deletes the macro, then its events; bindings naming it are left.
    bool deleteMacro(int macroId);
    int insertMacroEvent(const MacroEvent& event);
    // Writes the events in list order in one transaction; true when every
    // event was written.
    bool insertMacroEvents(const std::vector<MacroEvent>& events);
    // The macro's events in ascending order of index.
    int listMacroEvents(int macroId, std::vector<MacroEvent>& events);
    bool deleteMacroEvents(int macroId);

    // --- lights (t_light_data) ----------------------------------------------

    int countLights(int profile);
    int insertLight(const LightEffect& light);
    // Updates brightness, speed, direction, colorful, colour index, the seven
    // colours, configFunc and reserved of light.profile's row for mode.
    bool updateLight(int mode, const LightEffect& light);
    bool setCurrentLightMode(int profile, int mode);
    int getCurrentLightMode(int profile);
    bool getLight(int profile, int mode, LightEffect& light);
    int listLights(int profile, std::vector<LightEffect>& lights);
    bool deleteLights(int profile);
    // When the profile has no light rows: writes the default row of every
    // offered mode (light_1 to light_6), then makes mode 1 current whether or
    // not a mode-1 row was written. The number of rows written.
    int createDefaultLights(int profile, const std::array<bool, 6>& offered);

    // --- applications that choose a profile (t_profile_data.app) ------------

    // The applications profile is used for, as stored: one identity per line.
    bool getProfileApps(int profile, QString& apps);
    // Replaces the profile's application list; false when the profile has no row.
    bool setProfileApps(int profile, const QString& apps);
    // The profile the mouse goes back to when the focused application names no
    // rule (a row of its own in t_configdata under profile 0); 1 when never set.
    int getDefaultAppProfile();
    bool setDefaultAppProfile(int profile);

private:
    ProfileDatabase() = default;
    ~ProfileDatabase();

    // Callers hold mutex_.
    bool openExisting();
    int insertDefaultSettingsLocked(int profile);

    mutable std::recursive_mutex mutex_;
    SQLiteDB connection_;
    QByteArray path_;     // UTF-8 path of the file of the device type in use
    QByteArray openPath_; // the file the connection is open on
    bool opened_ = false;
};

} // namespace corvane::store
