#pragma once

// Internal to the store: one statement of the store's query pattern.

#include "store/sqlite/SQLiteDB.h"
#include "store/sqlite/SQLiteStatement.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <deque>

namespace corvane::store {

// A write succeeded when its step gave OK, ROW or DONE.
inline bool stepSucceeded(int result) {
    return result == kSqliteOk || result == kSqliteRow || result == kSqliteDone;
}

// One statement object, prepared again for each SQL text in turn. Parameters
// are bound by position in the order bind is called; text is bound as UTF-8
// with its byte length and kept alive here until the next prepare.
class Query {
public:
    Query(SQLiteDB& connection, const char* sql) : connection_(connection) { prepare(sql); }

    void prepare(const char* sql) {
        failure_ = connection_.prepare(statement_, sql, -1);
        texts_.clear();
        nextIndex_ = 1;
    }

    Query& bind(int value) {
        note(statement_.bindInt(nextIndex_++, value));
        return *this;
    }

    Query& bind(QStringView text) {
        const QByteArray& utf8 = texts_.emplace_back(text.toUtf8());
        // A text beyond 2 GiB cannot be bound: the statement is not run rather
        // than storing NULL in its place.
        if (utf8.size() <= 0x7FFFFFFF) {
            note(statement_.bindText(nextIndex_, utf8.constData(), static_cast<int>(utf8.size())));
        } else {
            note(kSqliteTooBig);
        }
        ++nextIndex_;
        return *this;
    }

    // Releases the statement before the next step of the caller (e.g. "END").
    void finish() {
        statement_.finalize();
        texts_.clear();
    }

    // A statement whose prepare or a bind failed is not run: its result is
    // that failure, so a parameter left NULL is never written.
    int step() { return failure_ != kSqliteOk ? failure_ : statement_.step(); }
    bool write() { return stepSucceeded(step()); }

    int columnInt(int column) const { return statement_.columnInt(column); }
    // A NULL column reads as an empty text.
    QString columnText(int column) const {
        return QString::fromUtf8(statement_.columnText(column));
    }

private:
    static constexpr int kSqliteTooBig = 18;

    void note(int result) {
        if (failure_ == kSqliteOk && result != kSqliteOk) {
            failure_ = result;
        }
    }

    SQLiteDB& connection_;
    std::deque<QByteArray> texts_; // a deque never moves what it holds
    SQLiteStatement statement_;    // declared last: finalised before texts_ go
    int nextIndex_ = 1;
    int failure_ = kSqliteOk; // the first failed prepare or bind
};

} // namespace corvane::store
