#pragma once

#include "store/LightEffect.h"
#include "store/ProfileDatabase.h"
#include "store/sqlite/SQLiteDB.h"
#include "store/sqlite/SQLiteStatement.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace corvane::exchange::test {

using store::ProfileDatabase;

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The rows of a query, read on a connection of its own (what is in the file, not what
// the store says): the columns given, each through SQL's quote(), joined with '|'.
inline QStringList tableRows(const QString& path, const QString& table, const QStringList& columns,
                             const QString& tail = QStringLiteral("ORDER BY rowid")) {
    QStringList quoted;
    for (const QString& column : columns) {
        quoted << QStringLiteral("quote(%1)").arg(column);
    }
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 %3")
                               .arg(quoted.join(QStringLiteral("||'|'||")), table, tail)
                               .toUtf8();
    store::SQLiteDB connection;
    QStringList rows;
    if (!connection.open(path.toUtf8().constData(), store::kOpenExisting)) {
        return rows;
    }
    store::SQLiteStatement statement;
    connection.prepare(statement, sql.constData(), -1);
    while (statement.step() == store::kSqliteRow) {
        rows << QString::fromUtf8(statement.columnText(0));
    }
    return rows;
}

// A data folder with two stores ("source" and "target"), one open at a time in the
// process-wide store, and a folder for the files written.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("db")));
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("files")));
        ASSERT_TRUE(db().close());
        ASSERT_TRUE(use(QStringLiteral("source")));
    }
    void TearDown() override { EXPECT_TRUE(db().close()); }

    static ProfileDatabase& db() { return ProfileDatabase::instance(); }

    bool use(const QString& store) { return db().openForDevice(dir_.path() + u'/', store); }
    QString dbPath(const QString& store = QStringLiteral("source")) const {
        return dir_.path() + QStringLiteral("/db/") + store + QStringLiteral("_data1.db");
    }
    QString file(const QString& name) const {
        return dir_.path() + QStringLiteral("/files/") + name;
    }

    // A profile as a new store makes it: default settings and, with lighting, the six
    // default light rows (mode 1 current).
    static int addProfile(const QString& name, bool lights = true) {
        store::ProfileRecord record;
        record.name = name;
        const int id = db().createProfile(record);
        if (lights && id > 0) {
            db().createDefaultLights(id, {true, true, true, true, true, true});
        }
        return id;
    }

    QTemporaryDir dir_;
};

} // namespace corvane::exchange::test
