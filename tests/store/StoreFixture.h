#pragma once

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

namespace corvane::store::test {

// Reads the first column of every row of sql on a connection of its own, so
// a test sees what is in the file, not what the store says.
inline QStringList readColumn(const QString& path, const char* sql) {
    SQLiteDB connection;
    QStringList values;
    if (!connection.open(path.toUtf8().constData(), kOpenExisting)) {
        return values;
    }
    SQLiteStatement statement;
    connection.prepare(statement, sql, -1);
    while (statement.step() == kSqliteRow) {
        values << QString::fromUtf8(statement.columnText(0));
    }
    return values;
}

inline int readInt(const QString& path, const char* sql) {
    const QStringList values = readColumn(path, sql);
    return values.isEmpty() ? -1 : values.front().toInt();
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A fresh data folder with its db subfolder, and the process-wide store
// closed before and after each test.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("db")));
        ASSERT_TRUE(db().close());
    }
    void TearDown() override { EXPECT_TRUE(db().close()); }

    static ProfileDatabase& db() { return ProfileDatabase::instance(); }
    QString dataFolder() const { return dir_.path() + u'/'; }
    QString dbPath(const QString& name = QStringLiteral("mouse")) const {
        return dataFolder() + QStringLiteral("db/") + name + QStringLiteral("_data1.db");
    }
    bool openNew(const QString& name = QStringLiteral("mouse")) {
        return db().openForDevice(dataFolder(), name);
    }
    // Every file and folder below the data folder, for "nothing was left".
    QStringList folderContents() const {
        QStringList entries;
        const QStringList top =
            QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& entry : top) {
            entries << entry;
        }
        for (const QString& entry : QDir(dir_.path() + QStringLiteral("/db"))
                                        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            entries << QStringLiteral("db/") + entry;
        }
        return entries;
    }

    QTemporaryDir dir_;
};

} // namespace corvane::store::test
