#include "store/sqlite/SQLiteStatement.h"

#include <sqlite3.h>

namespace corvane::store {

SQLiteStatement::~SQLiteStatement() {
    finalize();
}

int SQLiteStatement::finalize() {
    if (handle_ == nullptr) {
        return SQLITE_OK;
    }
    const int result = sqlite3_finalize(handle_);
    handle_ = nullptr;
    return result;
}

int SQLiteStatement::bindInt(int index, int value) {
    if (handle_ == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_bind_int(handle_, index, value);
}

int SQLiteStatement::bindText(int index, const char* utf8, int bytes) {
    if (handle_ == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_bind_text(handle_, index, utf8, bytes, SQLITE_STATIC);
}

int SQLiteStatement::step() {
    if (handle_ == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_step(handle_);
}

int SQLiteStatement::columnInt(int column) const {
    if (handle_ == nullptr) {
        return 0;
    }
    return sqlite3_column_int(handle_, column);
}

const char* SQLiteStatement::columnText(int column) const {
    if (handle_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
}

} // namespace corvane::store
