// Lighting effects.

#include "store/ProfileDatabase.h"

#include "store/sqlite/Query.h"
#include "store/sqlite/Savepoint.h"

namespace corvane::store {

namespace {

LightEffect readLight(const Query& query) {
    LightEffect light;
    light.id = query.columnInt(0);
    light.profile = query.columnInt(1);
    light.name = query.columnText(2);
    light.mode = query.columnInt(3);
    light.brightness = query.columnInt(4);
    light.speed = query.columnInt(5);
    light.direction = query.columnInt(6);
    light.colorful = query.columnInt(7);
    light.colorIndex = query.columnInt(8);
    for (int i = 0; i < 7; ++i) {
        light.colorValues[i] = query.columnInt(9 + i);
    }
    light.configFunc = query.columnInt(16);
    light.reserved = query.columnInt(17);
    light.status = query.columnInt(18);
    return light;
}

// brightness, speed, direction, colorful, colour index, the seven colours,
// configFunc and reserved: the columns insertLight and updateLight share.
void bindAdjustable(Query& query, const LightEffect& light) {
    query.bind(light.brightness)
        .bind(light.speed)
        .bind(light.direction)
        .bind(light.colorful)
        .bind(light.colorIndex);
    for (int colour : light.colorValues) {
        query.bind(colour);
    }
    query.bind(light.configFunc).bind(light.reserved);
}

} // namespace

int ProfileDatabase::countLights(int profile) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "select count(*) FROM t_light_data WHERE profile = ?");
    query.bind(profile);
    if (query.step() != kSqliteRow) {
        return 0;
    }
    return query.columnInt(0);
}

int ProfileDatabase::insertLight(const LightEffect& light) {
    std::lock_guard lock(mutex_);
    Query query(connection_,
                "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
                "colorful, colorindex, color_value1, color_value2, color_value3, color_value4, "
                "color_value5, color_value6, color_value7, config_func, reserved, status) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    query.bind(light.profile).bind(light.name).bind(light.mode);
    bindAdjustable(query, light);
    query.bind(light.status);
    if (!query.write()) {
        return 0;
    }
    return static_cast<int>(connection_.lastInsertRowId());
}

bool ProfileDatabase::updateLight(int mode, const LightEffect& light) {
    std::lock_guard lock(mutex_);
    Query query(connection_,
                "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
                "colorindex = ?, color_value1 = ?, color_value2 = ?, color_value3 = ?, "
                "color_value4 = ?, color_value5 = ?, color_value6 = ?, color_value7 = ?, "
                "config_func = ?, reserved = ? WHERE profile = ? AND mode = ?");
    bindAdjustable(query, light);
    query.bind(light.profile).bind(mode);
    return query.write();
}

bool ProfileDatabase::setCurrentLightMode(int profile, int mode) {
    std::lock_guard lock(mutex_);
    Savepoint savepoint(connection_);
    Query query(connection_, "UPDATE t_light_data SET status = ? WHERE profile = ?");
    query.bind(0).bind(profile);
    if (!savepoint.started() || !query.write()) {
        return false;
    }
    query.prepare("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?");
    query.bind(1).bind(profile).bind(mode);
    if (!query.write()) {
        return false;
    }
    query.finish();
    return savepoint.release();
}

int ProfileDatabase::getCurrentLightMode(int profile) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
    query.bind(profile).bind(1);
    if (query.step() != kSqliteRow) {
        return 0;
    }
    return query.columnInt(0);
}

bool ProfileDatabase::getLight(int profile, int mode, LightEffect& light) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
    query.bind(profile).bind(mode);
    if (query.step() != kSqliteRow) {
        return false;
    }
    light = readLight(query);
    return true;
}

int ProfileDatabase::listLights(int profile, std::vector<LightEffect>& lights) {
    std::lock_guard lock(mutex_);
    lights.clear();
    Query query(connection_, "SELECT * FROM t_light_data WHERE profile = ?");
    query.bind(profile);
    while (query.step() == kSqliteRow) {
        lights.push_back(readLight(query));
    }
    return static_cast<int>(lights.size());
}

bool ProfileDatabase::deleteLights(int profile) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "DELETE FROM t_light_data WHERE profile = ?");
    query.bind(profile);
    return query.write();
}

int ProfileDatabase::createDefaultLights(int profile, const std::array<bool, 6>& offered) {
    // One lock over the count and the writes: two callers cannot both find
    // the profile empty and write the rows twice.
    std::lock_guard lock(mutex_);
    if (countLights(profile) >= 1) {
        return 0;
    }
    // Every offered mode's row and the current mode, or nothing: a profile left with
    // part of its rows would never get the rest (it no longer counts as empty).
    Savepoint savepoint(connection_);
    if (!savepoint.started()) {
        return 0;
    }
    int written = 0;
    for (std::size_t i = 0; i < kLightModeDefaults.size(); ++i) {
        if (!offered[i]) {
            continue;
        }
        if (insertLight(defaultLightEffect(profile, kLightModeDefaults[i])) == 0) {
            return 0;
        }
        ++written;
    }
    if (!setCurrentLightMode(profile, 1) || !savepoint.release()) {
        return 0;
    }
    return written;
}

} // namespace corvane::store
