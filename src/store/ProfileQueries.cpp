// Settings and profiles.

#include "store/ProfileDatabase.h"

#include "store/SettingKey.h"
#include "store/sqlite/Query.h"
#include "store/sqlite/Savepoint.h"

namespace corvane::store {

bool ProfileDatabase::getSetting(int profile, QStringView key, QString& value) {
    std::lock_guard lock(mutex_);
    value.clear();
    Query query(connection_, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
    query.bind(profile).bind(key);
    if (query.step() != kSqliteRow) {
        return false;
    }
    value = query.columnText(0);
    return true;
}

int ProfileDatabase::getSettingInt(int profile, QStringView key) {
    QString value;
    getSetting(profile, key, value);
    return settingValueToInt(value);
}

bool ProfileDatabase::setSetting(int profile, QStringView key, const QString& value) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?");
    query.bind(value).bind(profile).bind(key);
    return query.write();
}

bool ProfileDatabase::setSetting(int profile, QStringView key, int value) {
    return setSetting(profile, key, QString::number(value));
}

int ProfileDatabase::insertDefaultSettings(int profile) {
    std::lock_guard lock(mutex_);
    return insertDefaultSettingsLocked(profile);
}

int ProfileDatabase::insertDefaultSettingsLocked(int profile) {
    static constexpr char kInsert[] =
        "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);";
    Query query(connection_, kInsert);
    int written = 0;
    bool first = true;
    for (const SettingKey& setting : kSettingKeys) {
        if (!first) {
            query.prepare(kInsert);
        }
        first = false;
        query.bind(profile)
            .bind(QString::fromUtf8(setting.name))
            .bind(QString::fromUtf8(setting.defaultValue));
        if (query.write()) {
            ++written;
        }
    }
    return written;
}

int ProfileDatabase::createProfile(const ProfileRecord& record) {
    std::lock_guard lock(mutex_);
    // The profile and all its settings, or nothing: a profile missing a setting row
    // would silently drop every later write of that setting (an UPDATE of no row).
    Savepoint savepoint(connection_);
    if (!savepoint.started()) {
        return 0;
    }
    Query query(connection_,
                "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
    query.bind(record.name).bind(0).bind(record.app).bind(0);
    if (!query.write()) {
        return 0;
    }
    const int id = static_cast<int>(connection_.lastInsertRowId());
    query.finish();
    if (insertDefaultSettingsLocked(id) != static_cast<int>(kSettingKeys.size())) {
        return 0;
    }
    return savepoint.release() ? id : 0;
}

bool ProfileDatabase::renameProfile(int profile, const QString& name) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "UPDATE t_profile_data SET name = ? WHERE profile = ?");
    query.bind(name).bind(profile);
    return query.write();
}

bool ProfileDatabase::getProfileName(int profile, QString& name) {
    std::lock_guard lock(mutex_);
    name.clear();
    Query query(connection_, "SELECT name FROM t_profile_data WHERE profile = ?");
    query.bind(profile);
    if (query.step() != kSqliteRow) {
        return false;
    }
    name = query.columnText(0);
    return true;
}

int ProfileDatabase::listProfiles(std::vector<ProfileRecord>& profiles) {
    std::lock_guard lock(mutex_);
    profiles.clear();
    Query query(connection_, "SELECT * FROM t_profile_data");
    while (query.step() == kSqliteRow) {
        ProfileRecord& record = profiles.emplace_back();
        record.id = query.columnInt(0);
        record.name = query.columnText(1);
        record.status = query.columnInt(2);
        record.app = query.columnText(3);
        record.type = query.columnInt(4);
    }
    return static_cast<int>(profiles.size());
}

bool ProfileDatabase::setCurrentProfile(int profile) {
    std::lock_guard lock(mutex_);
    // Both steps or neither: never two current profiles, never none after a failure.
    Savepoint savepoint(connection_);
    Query query(connection_, "UPDATE t_profile_data SET status = ?");
    query.bind(0);
    if (!savepoint.started() || !query.write()) {
        return false;
    }
    query.prepare("UPDATE t_profile_data SET status = ? WHERE profile = ?");
    query.bind(1).bind(profile);
    if (!query.write()) {
        return false;
    }
    query.finish();
    return savepoint.release();
}

int ProfileDatabase::getCurrentProfile() {
    std::lock_guard lock(mutex_);
    Query query(connection_, "SELECT profile FROM t_profile_data WHERE status = ?");
    query.bind(1);
    if (query.step() != kSqliteRow) {
        return 0;
    }
    return query.columnInt(0);
}

} // namespace corvane::store
