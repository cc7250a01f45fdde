#pragma once

#include <mutex>

namespace corvane::store {

class ProfileDatabase;
class SQLiteDB;

// Several store operations as one step, for a caller that must change all or nothing
// (a file import). Holds the store's lock from construction to the end, so no other
// thread's write can slip into the step, and rolls everything back unless commit()
// succeeds. It nests inside a transaction a caller already holds (as a savepoint), and
// the store's own savepoints nest inside it; operations that run "BEGIN" and "END"
// themselves (insertMacroEvents) must not be called inside it. When another process
// holds the file's write lock the step is not begun.
class StoreTransaction {
public:
    explicit StoreTransaction(ProfileDatabase& database);
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;
    ~StoreTransaction();

    // False when the store is closed or the step could not be begun; nothing
    // done inside then can be kept.
    bool isActive() const { return active_; }
    // Keeps everything done since construction; false (and everything undone) when
    // SQLite could not write it.
    bool commit();
    // Undoes everything done since construction.
    void rollback();

private:
    std::unique_lock<std::recursive_mutex> lock_;
    SQLiteDB& connection_;
    bool active_ = false;
    bool nested_ = false;
};

} // namespace corvane::store
