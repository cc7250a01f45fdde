#include "store/SQLiteAutoTransaction.h"

#include "store/SQLiteDB.h"

namespace corvane::store {

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
        connection_->exec("END");
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
    return connection_->exec("END") == kSqliteOk;
}

} // namespace corvane::store
