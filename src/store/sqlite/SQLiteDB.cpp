#include "store/sqlite/SQLiteDB.h"

#include "store/sqlite/SQLiteStatement.h"

#include <sqlite3.h>

namespace corvane::store {

SQLiteDB::~SQLiteDB() {
    if (handle_ != nullptr) {
        sqlite3_interrupt(handle_);
        sqlite3_close(handle_);
    }
}

bool SQLiteDB::open(const char* path, int flags) {
    if (handle_ != nullptr) {
        sqlite3_interrupt(handle_);
        // A connection SQLite will not close is kept rather than leaked:
        // the old connection stays usable and the new one is not opened.
        if (!close()) {
            return false;
        }
    }
    if (path == nullptr) {
        return false;
    }
    if (sqlite3_open_v2(path, &handle_, flags, nullptr) != SQLITE_OK) {
        if (handle_ != nullptr && sqlite3_close(handle_) == SQLITE_OK) {
            handle_ = nullptr;
        }
        return false;
    }
    // Another program reading the file (a backup, a second instance of the
    // command-line tool) holds its lock for a moment: wait for it rather than
    // failing at once.
    sqlite3_busy_timeout(handle_, busyTimeoutMs_);
    // Commits do not wait for the disk.
    sqlite3_exec(handle_, "PRAGMA synchronous = OFF; ", nullptr, nullptr, nullptr);
    return true;
}

bool SQLiteDB::close() {
    if (handle_ == nullptr) {
        return true;
    }
    if (sqlite3_close(handle_) != SQLITE_OK) {
        return false;
    }
    handle_ = nullptr;
    return true;
}

void SQLiteDB::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (handle_ != nullptr) {
        sqlite3_busy_timeout(handle_, busyTimeoutMs_);
    }
}

int SQLiteDB::prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.finalize();
    if (handle_ == nullptr || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_prepare_v2(handle_, sql, length, &statement.handle_, nullptr);
}

int SQLiteDB::exec(const char* sql, SQLiteRowCallback callback, void* argument) {
    if (handle_ == nullptr || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_exec(handle_, sql, callback, argument, nullptr);
}

std::int64_t SQLiteDB::lastInsertRowId() const {
    if (handle_ == nullptr) {
        return -1;
    }
    return sqlite3_last_insert_rowid(handle_);
}

} // namespace corvane::store
