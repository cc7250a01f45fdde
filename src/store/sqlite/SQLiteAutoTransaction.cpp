#include "store/sqlite/SQLiteAutoTransaction.h"

#include "store/sqlite/SQLiteDB.h"

namespace corvane::store {

namespace {

// "END" can fail (another program reading the file keeps it from being
// written); the transaction then stays open, and everything written on the
// connection afterwards would be dropped when it closes. Rolling back ends it:
// this transaction's writes are lost, visibly, and no later one is.
bool endTransaction(SQLiteDB& connection) {
    if (connection.exec("END") == kSqliteOk) {
        return true;
    }
    connection.exec("ROLLBACK");
    return false;
}

} // namespace

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* connection) : connection_(connection) {
    if (connection_ == nullptr) {
        return;
    }
    if (connection_->isOpen()) {
        connection_->exec("BEGIN");
    }
    active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (active_ && connection_ != nullptr && connection_->isOpen()) {
        endTransaction(*connection_);
    }
    active_ = false;
}

bool SQLiteAutoTransaction::begin() {
    if (connection_ == nullptr || active_) {
        return false;
    }
    active_ = true;
    if (!connection_->isOpen()) {
        return false;
    }
    return connection_->exec("BEGIN") == kSqliteOk;
}

bool SQLiteAutoTransaction::commit() {
    if (connection_ == nullptr) {
        return false;
    }
    active_ = false;
    if (!connection_->isOpen()) {
        return false;
    }
    return endTransaction(*connection_);
}

} // namespace corvane::store
