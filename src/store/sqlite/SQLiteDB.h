#pragma once
// store/sqlite: the SQLite wrappers: database, statements, transactions, savepoints.

#include <cstdint>

struct sqlite3;

namespace corvane::store {

class SQLiteStatement;

// SQLite result codes this layer hands back or tests for.
inline constexpr int kSqliteOk = 0;
inline constexpr int kSqliteBusy = 5;
inline constexpr int kSqliteLocked = 6;
inline constexpr int kSqliteMisuse = 21;
inline constexpr int kSqliteRow = 100;
inline constexpr int kSqliteDone = 101;

// Open flags: read-write (existing file) and read-write-create, both serialized.
inline constexpr int kOpenExisting = 0x10002;
inline constexpr int kOpenCreate = 0x10006;

// How long a statement waits for another program (or connection) holding a
// lock on the file before it gives up with SQLITE_BUSY.
inline constexpr int kDefaultBusyTimeoutMs = 2000;

using SQLiteRowCallback = int (*)(void* argument, int columns, char** values, char** names);

// One SQLite connection. Results are SQLite result codes; 21 (misuse) when
// there is no connection or no SQL text.
class SQLiteDB {
public:
    SQLiteDB() = default;
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;
    virtual ~SQLiteDB();

    // Opens path (UTF-8) with the given flags, closing a connection held
    // before. The file is a plain SQLite file: no key is ever applied.
    bool open(const char* path, int flags);
    // True when nothing is held or SQLite closed it; false (handle kept)
    // when SQLite refuses, e.g. while a statement is still prepared.
    bool close();
    bool isOpen() const { return handle_ != nullptr; }

    // The wait for a lock held elsewhere, applied to the connection held now
    // and to every later open.
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return busyTimeoutMs_; }

    // Prepares sql into statement after finalising what it held. A negative
    // length reads the whole zero-terminated text.
    int prepare(SQLiteStatement& statement, const char* sql, int length);
    int exec(const char* sql, SQLiteRowCallback callback = nullptr, void* argument = nullptr);
    // -1 without a connection.
    std::int64_t lastInsertRowId() const;

private:
    sqlite3* handle_ = nullptr;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
};

} // namespace corvane::store
