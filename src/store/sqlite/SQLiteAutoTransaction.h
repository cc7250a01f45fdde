#pragma once

namespace corvane::store {

class SQLiteDB;

// A transaction bound to a scope: "BEGIN" on construction (or begin),
// "END" on commit or destruction. "END" commits whatever statements of the
// transaction succeeded; only an "END" that fails is followed by "ROLLBACK",
// so the connection never stays inside the transaction.
class SQLiteAutoTransaction {
public:
    explicit SQLiteAutoTransaction(SQLiteDB* connection);
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;
    virtual ~SQLiteAutoTransaction();

    // False without a connection or while already active (nothing is run).
    bool begin();
    bool commit();
    bool isActive() const { return active_; }

private:
    SQLiteDB* connection_;
    bool active_ = false;
};

} // namespace corvane::store
