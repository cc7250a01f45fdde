#include "store/sqlite/Savepoint.h"

#include "store/sqlite/SQLiteDB.h"

namespace corvane::store {

Savepoint::Savepoint(SQLiteDB& connection)
    : connection_(connection),
      state_(connection.exec("SAVEPOINT store_write") == kSqliteOk ? State::Open : State::Failed) {}

Savepoint::~Savepoint() {
    if (state_ == State::Open) {
        undo();
    }
}

bool Savepoint::release() {
    if (state_ != State::Open) {
        return false;
    }
    if (connection_.exec("RELEASE store_write") == kSqliteOk) {
        state_ = State::Released;
        return true;
    }
    undo();
    return false;
}

void Savepoint::undo() {
    state_ = State::Failed;
    if (connection_.exec("ROLLBACK TO store_write") == kSqliteOk &&
        connection_.exec("RELEASE store_write") == kSqliteOk) {
        return;
    }
    // Only an outermost savepoint can fail to release (its commit); ending the
    // whole transaction is then the one way out of it.
    connection_.exec("ROLLBACK");
}

} // namespace corvane::store
