// Macros and their recorded events.

#include "store/ProfileDatabase.h"

#include "store/sqlite/Query.h"
#include "store/sqlite/Savepoint.h"

namespace corvane::store {

namespace {

constexpr char kInsertMacro[] = "INSERT INTO t_macro_data(name, play_type, play_times, "
                                "delay_type, delay_time) VALUES (?, ?, ?, ?, ?);";
constexpr char kInsertEvent[] = "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, "
                                "value, delay_time) VALUES (?, ?, ?, ?, ?, ?);";

void bindEvent(Query& query, const MacroEvent& event) {
    query.bind(event.macroId)
        .bind(event.type)
        .bind(event.index)
        .bind(event.desc)
        .bind(event.value)
        .bind(event.timestamp);
}

} // namespace

int ProfileDatabase::createMacro(const QString& name) {
    MacroDefinition macro;
    macro.name = name;
    return insertMacro(macro); // a new macro: play type 0, one play, delay type 1, delay 0
}

int ProfileDatabase::insertMacro(const MacroDefinition& macro) {
    std::lock_guard lock(mutex_);
    Query query(connection_, kInsertMacro);
    query.bind(macro.name)
        .bind(macro.playType)
        .bind(macro.playTimes)
        .bind(macro.delayType)
        .bind(macro.delayTime);
    // 0 on failure, never a result code that could pass for an id.
    if (!query.write()) {
        return 0;
    }
    return static_cast<int>(connection_.lastInsertRowId());
}

bool ProfileDatabase::renameMacro(int macroId, const QString& name) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?");
    query.bind(name).bind(macroId);
    return query.write();
}

bool ProfileDatabase::updateMacro(int macroId, const MacroDefinition& macro) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, "
                             "delay_type = ?,delay_time = ? WHERE macro_id = ?");
    query.bind(macro.name)
        .bind(macro.playType)
        .bind(macro.playTimes)
        .bind(macro.delayType)
        .bind(macro.delayTime)
        .bind(macroId);
    return query.write();
}

bool ProfileDatabase::getMacro(int macroId, MacroDefinition& macro) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "SELECT * FROM t_macro_data WHERE macro_id = ?");
    query.bind(macroId);
    if (query.step() != kSqliteRow) {
        return false;
    }
    macro.id = query.columnInt(0);
    macro.name = query.columnText(1);
    macro.playType = query.columnInt(2);
    macro.playTimes = query.columnInt(3);
    macro.delayType = query.columnInt(4);
    macro.delayTime = query.columnInt(5);
    return true;
}

int ProfileDatabase::listMacros(std::vector<MacroDefinition>& macros) {
    std::lock_guard lock(mutex_);
    macros.clear();
    Query query(connection_, "SELECT * FROM t_macro_data");
    while (query.step() == kSqliteRow) {
        MacroDefinition& macro = macros.emplace_back();
        macro.id = query.columnInt(0);
        macro.name = query.columnText(1);
        macro.playType = query.columnInt(2);
        macro.playTimes = query.columnInt(3);
        macro.delayType = query.columnInt(4);
        macro.delayTime = query.columnInt(5);
    }
    return static_cast<int>(macros.size());
}

bool ProfileDatabase::deleteMacro(int macroId) {
    std::lock_guard lock(mutex_);
    Savepoint savepoint(connection_);
    Query query(connection_, "DELETE FROM t_macro_data WHERE macro_id = ?");
    query.bind(macroId);
    if (!savepoint.started() || !query.write()) {
        return false;
    }
    query.prepare("DELETE FROM t_macrorecord WHERE macro_id = ?");
    query.bind(macroId);
    if (!query.write()) {
        return false;
    }
    query.finish();
    return savepoint.release();
}

int ProfileDatabase::insertMacroEvent(const MacroEvent& event) {
    std::lock_guard lock(mutex_);
    Query query(connection_, kInsertEvent);
    bindEvent(query, event);
    if (!query.write()) {
        return 0;
    }
    return static_cast<int>(connection_.lastInsertRowId());
}

bool ProfileDatabase::insertMacroEvents(const std::vector<MacroEvent>& events) {
    std::lock_guard lock(mutex_);
    // One transaction for the batch, kept only whole: a macro is never left with
    // part of its events.
    Savepoint savepoint(connection_);
    if (!savepoint.started()) {
        return false;
    }
    Query query(connection_, kInsertEvent);
    bool first = true;
    for (const MacroEvent& event : events) {
        if (!first) {
            query.prepare(kInsertEvent);
        }
        first = false;
        bindEvent(query, event);
        if (!query.write()) {
            return false;
        }
    }
    query.finish();
    return savepoint.release();
}

int ProfileDatabase::listMacroEvents(int macroId, std::vector<MacroEvent>& events) {
    std::lock_guard lock(mutex_);
    events.clear();
    Query query(connection_,
                "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC");
    query.bind(macroId);
    while (query.step() == kSqliteRow) {
        MacroEvent& event = events.emplace_back();
        event.id = query.columnInt(0);
        event.macroId = query.columnInt(1);
        event.type = query.columnInt(2);
        event.index = query.columnInt(3);
        event.desc = query.columnText(4);
        event.value = query.columnInt(5);
        event.timestamp = query.columnInt(6);
    }
    return static_cast<int>(events.size());
}

bool ProfileDatabase::deleteMacroEvents(int macroId) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "DELETE FROM t_macrorecord WHERE macro_id = ?");
    query.bind(macroId);
    return query.write();
}

} // namespace corvane::store
