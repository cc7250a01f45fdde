#pragma once

// Internal to the store: several statements that are written together or not
// at all.

namespace corvane::store {

class SQLiteDB;

// "SAVEPOINT" on construction; release() keeps what was written, anything
// else (an early return, a failed release) undoes it. Nests inside a
// transaction a caller already holds. When the savepoint is the outermost
// one, releasing it commits, and that commit can fail (another program
// reading the file keeps it from being written): then everything is rolled
// back, so the connection is never left inside a transaction whose writes
// would be dropped silently when it closes.
class Savepoint {
public:
    explicit Savepoint(SQLiteDB& connection);
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    ~Savepoint();

    // False when "SAVEPOINT" failed: nothing may then be written.
    bool started() const { return state_ == State::Open; }
    // True when what was written is kept (committed, for the outermost).
    bool release();

private:
    enum class State { Open, Released, Failed };
    void undo();

    SQLiteDB& connection_;
    State state_;
};

} // namespace corvane::store
