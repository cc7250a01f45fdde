#include "store/StoreTransaction.h"

#include "store/ProfileDatabase.h"
#include "store/sqlite/SQLiteDB.h"

namespace corvane::store {

namespace {
constexpr int kSqliteError = 1; // what BEGIN gives inside a transaction
} // namespace

StoreTransaction::StoreTransaction(ProfileDatabase& database)
    : lock_(database.mutex()), connection_(database.connection()) {
    if (!connection_.isOpen()) {
        return;
    }
    // On its own the step is a transaction: rolled back, it leaves the file exactly as it
    // was (a released savepoint would still count as a write). Inside a caller's
    // transaction it is a savepoint.
    const int begun = connection_.exec("BEGIN IMMEDIATE");
    if (begun == kSqliteOk) {
        active_ = true;
        nested_ = false;
    } else if (begun == kSqliteError) {
        active_ = connection_.exec("SAVEPOINT store_step") == kSqliteOk;
        nested_ = true;
    }
}

StoreTransaction::~StoreTransaction() {
    rollback();
}

bool StoreTransaction::commit() {
    if (!active_) {
        return false;
    }
    if (connection_.exec(nested_ ? "RELEASE store_step" : "COMMIT") != kSqliteOk) {
        rollback(); // the transaction stays open when it cannot be written
        return false;
    }
    active_ = false;
    return true;
}

void StoreTransaction::rollback() {
    if (!active_) {
        return;
    }
    active_ = false;
    if (nested_) {
        connection_.exec("ROLLBACK TO store_step");
        connection_.exec("RELEASE store_step");
    } else {
        connection_.exec("ROLLBACK");
    }
}

} // namespace corvane::store
