// Which applications choose a profile: the list in t_profile_data.app and the
// default profile in a t_configdata row of profile 0 (no profile has the id 0).

#include "store/ProfileDatabase.h"

#include "store/SettingKey.h"
#include "store/sqlite/Query.h"
#include "store/sqlite/Savepoint.h"

namespace corvane::store {

namespace {
constexpr int kGlobalProfile = 0;
constexpr char16_t kDefaultAppProfileKey[] = u"app_default_profile";
} // namespace

bool ProfileDatabase::getProfileApps(int profile, QString& apps) {
    std::lock_guard lock(mutex_);
    apps.clear();
    Query query(connection_, "SELECT app FROM t_profile_data WHERE profile = ?");
    query.bind(profile);
    if (query.step() != kSqliteRow) {
        return false;
    }
    apps = query.columnText(0);
    return true;
}

bool ProfileDatabase::setProfileApps(int profile, const QString& apps) {
    std::lock_guard lock(mutex_);
    {
        Query exists(connection_, "SELECT 1 FROM t_profile_data WHERE profile = ?");
        exists.bind(profile);
        if (exists.step() != kSqliteRow) {
            return false;
        }
    }
    Query query(connection_, "UPDATE t_profile_data SET app = ? WHERE profile = ?");
    query.bind(apps).bind(profile);
    return query.write();
}

int ProfileDatabase::getDefaultAppProfile() {
    QString value;
    if (!getSetting(kGlobalProfile, QStringView(kDefaultAppProfileKey), value)) {
        return 1;
    }
    const int profile = settingValueToInt(value);
    return profile >= 1 ? profile : 1;
}

bool ProfileDatabase::setDefaultAppProfile(int profile) {
    std::lock_guard lock(mutex_);
    Savepoint savepoint(connection_);
    if (!savepoint.started()) {
        return false;
    }
    Query remove(connection_, "DELETE FROM t_configdata WHERE profile = ? and key = ?");
    remove.bind(kGlobalProfile).bind(QStringView(kDefaultAppProfileKey));
    if (!remove.write()) {
        return false;
    }
    Query insert(connection_, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?)");
    insert.bind(kGlobalProfile)
        .bind(QStringView(kDefaultAppProfileKey))
        .bind(QString::number(profile));
    if (!insert.write()) {
        return false;
    }
    return savepoint.release();
}

} // namespace corvane::store
