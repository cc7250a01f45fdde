#pragma once

struct sqlite3_stmt;

namespace corvane::store {

// One prepared statement; SQLiteDB::prepare fills it, and one object may be
// prepared again for several SQL texts in turn. Every operation returns 21
// (misuse) when nothing is prepared; columnInt then gives 0, columnText null.
class SQLiteStatement {
public:
    SQLiteStatement() = default;
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    virtual ~SQLiteStatement();

    bool isPrepared() const { return handle_ != nullptr; }

    int bindInt(int index, int value);
    // The text is not copied: the caller keeps it alive until the step.
    int bindText(int index, const char* utf8, int bytes);
    int step();
    int columnInt(int column) const;
    const char* columnText(int column) const;

    // Releases the prepared statement. SQLite frees it whatever
    // sqlite3_finalize returns (the code repeats the last step's error), so
    // the handle is always dropped.
    int finalize();

private:
    friend class SQLiteDB;
    sqlite3_stmt* handle_ = nullptr;
};

} // namespace corvane::store
