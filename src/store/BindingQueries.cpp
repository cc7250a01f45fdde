// Button bindings.

#include "store/ProfileDatabase.h"

#include "store/sqlite/Query.h"
#include "store/sqlite/Savepoint.h"

namespace corvane::store {

namespace {

ButtonBinding readBinding(const Query& query) {
    ButtonBinding binding;
    binding.id = query.columnInt(0);
    binding.profile = query.columnInt(1);
    binding.fnLayer = query.columnInt(2);
    binding.keyCode = query.columnInt(3);
    binding.layoutValue = query.columnInt(4);
    binding.layoutDesc = query.columnText(5);
    binding.macroType = query.columnInt(6);
    binding.macroValue = query.columnInt(7);
    binding.macroValue2 = query.columnInt(8);
    binding.macroValue3 = query.columnInt(9);
    binding.macroDesc = query.columnText(10);
    return binding;
}

} // namespace

int ProfileDatabase::saveBinding(const ButtonBinding& binding) {
    std::lock_guard lock(mutex_);
    // The old row goes only when the new one is written and kept: a failed INSERT or a
    // commit another program keeps from happening rolls the DELETE back, so the button
    // keeps its previous function and the caller hears of the failure.
    Savepoint savepoint(connection_);
    if (!savepoint.started()) {
        return 0;
    }
    Query query(connection_,
                "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
    query.bind(binding.profile).bind(binding.fnLayer).bind(binding.keyCode);
    if (!query.write()) {
        return 0;
    }
    if (binding.macroValue == 0 && binding.macroValue2 == 0) {
        query.finish();
        savepoint.release();
        return 0; // a binding without values leaves the button without a row
    }
    query.prepare("INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, "
                  "layout_desc, macro_type, macro_value, macro_value2, macro_value3, macro_desc) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    query.bind(binding.profile)
        .bind(binding.fnLayer)
        .bind(binding.keyCode)
        .bind(binding.layoutValue)
        .bind(binding.layoutDesc)
        .bind(binding.macroType)
        .bind(binding.macroValue)
        .bind(binding.macroValue2)
        .bind(binding.macroValue3)
        .bind(binding.macroDesc);
    if (!query.write()) {
        return 0;
    }
    const int id = static_cast<int>(connection_.lastInsertRowId());
    query.finish();
    return savepoint.release() ? id : 0;
}

bool ProfileDatabase::getBinding(int profile, int keyCode, ButtonBinding& binding) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? "
                             "and key_code = ?");
    query.bind(profile).bind(0).bind(keyCode);
    if (query.step() != kSqliteRow) {
        return false;
    }
    binding = readBinding(query);
    return true;
}

bool ProfileDatabase::updateBindingDesc(int profile, int keyCode, const QString& desc) {
    std::lock_guard lock(mutex_);
    Query query(connection_, "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and "
                             "fn_layer = ? and key_code = ?");
    query.bind(desc).bind(profile).bind(0).bind(keyCode);
    return query.write();
}

int ProfileDatabase::listBindings(int profile, std::vector<ButtonBinding>& bindings) {
    std::lock_guard lock(mutex_);
    bindings.clear();
    Query query(connection_, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
    query.bind(profile).bind(0);
    while (query.step() == kSqliteRow) {
        bindings.push_back(readBinding(query));
    }
    return static_cast<int>(bindings.size());
}

bool ProfileDatabase::deleteBindings(int profile) {
    // Locked like every other operation: the device worker and the pages both
    // delete bindings while the other may be using the connection.
    std::lock_guard lock(mutex_);
    Query query(connection_, "DELETE FROM t_key_macro_data WHERE profile = ?");
    query.bind(profile);
    return query.write();
}

} // namespace corvane::store
