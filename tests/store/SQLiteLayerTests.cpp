#include "StoreFixture.h"

#include "store/sqlite/SQLiteAutoTransaction.h"

#include <QFileInfo>

namespace corvane::store::test {
namespace {

class SQLiteLayer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QByteArray path(const char* name = "plain.db") const {
        return (dir_.path() + u'/' + name).toUtf8();
    }
    QTemporaryDir dir_;
};

TEST_F(SQLiteLayer, OperationsWithoutAConnectionGiveMisuseAndEmptyResults) {
    SQLiteDB connection;
    SQLiteStatement statement;
    EXPECT_FALSE(connection.isOpen());
    EXPECT_TRUE(connection.close());
    EXPECT_EQ(connection.prepare(statement, "SELECT 1", -1), kSqliteMisuse);
    EXPECT_EQ(connection.exec("SELECT 1"), kSqliteMisuse);
    EXPECT_EQ(connection.lastInsertRowId(), -1);

    EXPECT_EQ(statement.bindInt(1, 5), kSqliteMisuse);
    EXPECT_EQ(statement.bindText(1, "x", 1), kSqliteMisuse);
    EXPECT_EQ(statement.step(), kSqliteMisuse);
    EXPECT_EQ(statement.columnInt(0), 0);
    EXPECT_EQ(statement.columnText(0), nullptr);
}

TEST_F(SQLiteLayer, OpenFailsCleanlyForANullPathAndAMissingFile) {
    SQLiteDB connection;
    EXPECT_FALSE(connection.open(nullptr, kOpenCreate));
    EXPECT_FALSE(connection.open(path("missing.db").constData(), kOpenExisting));
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(path("missing.db"))));
}

TEST_F(SQLiteLayer, PrepareWithoutSqlTextIsMisuse) {
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path().constData(), kOpenCreate));
    SQLiteStatement statement;
    EXPECT_EQ(connection.prepare(statement, nullptr, -1), kSqliteMisuse);
    EXPECT_EQ(connection.exec(nullptr), kSqliteMisuse);
}

TEST_F(SQLiteLayer, CloseIsRefusedWhileAStatementIsPrepared) {
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path().constData(), kOpenCreate));
    {
        SQLiteStatement statement;
        ASSERT_EQ(connection.prepare(statement, "SELECT 1", -1), kSqliteOk);
        EXPECT_FALSE(connection.close());
        EXPECT_TRUE(connection.isOpen());
        EXPECT_EQ(statement.step(), kSqliteRow); // the connection still works
        EXPECT_EQ(statement.columnInt(0), 1);
    }
    EXPECT_TRUE(connection.close());
    EXPECT_FALSE(connection.isOpen());
}

TEST_F(SQLiteLayer, OpenKeepsAConnectionThatCannotBeClosed) {
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path("first.db").constData(), kOpenCreate));
    ASSERT_EQ(connection.exec("CREATE TABLE t(a INTEGER)"), kSqliteOk);
    SQLiteStatement statement;
    ASSERT_EQ(connection.prepare(statement, "SELECT count(*) FROM t", -1), kSqliteOk);

    EXPECT_FALSE(connection.open(path("second.db").constData(), kOpenCreate));
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(statement.step(), kSqliteRow); // still the first file
    EXPECT_EQ(statement.columnInt(0), 0);
    EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(path("second.db"))));
}

TEST_F(SQLiteLayer, StatementCanBePreparedAgainAfterAFailedStep) {
    // A failed step makes sqlite3_finalize report that error although the
    // statement is freed; preparing again or destroying must not free it twice.
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path().constData(), kOpenCreate));
    ASSERT_EQ(connection.exec("CREATE TABLE t(id INTEGER PRIMARY KEY)"), kSqliteOk);
    SQLiteStatement statement;
    ASSERT_EQ(connection.prepare(statement, "INSERT INTO t(id) VALUES (1)", -1), kSqliteOk);
    EXPECT_EQ(statement.step(), kSqliteDone);
    ASSERT_EQ(connection.prepare(statement, "INSERT INTO t(id) VALUES (1)", -1), kSqliteOk);
    EXPECT_NE(statement.step(), kSqliteDone); // primary key taken
    ASSERT_EQ(connection.prepare(statement, "SELECT count(*) FROM t", -1), kSqliteOk);
    EXPECT_EQ(statement.step(), kSqliteRow);
    EXPECT_EQ(statement.columnInt(0), 1);

    ASSERT_EQ(connection.prepare(statement, "INSERT INTO t(id) VALUES (1)", -1), kSqliteOk);
    EXPECT_NE(statement.step(), kSqliteDone);
    // Released even though finalising repeats the step's error, so nothing
    // is left for the destructor to free again.
    EXPECT_EQ(connection.prepare(statement, nullptr, -1), kSqliteMisuse);
    EXPECT_FALSE(statement.isPrepared());
    EXPECT_EQ(statement.step(), kSqliteMisuse);
}

TEST_F(SQLiteLayer, TextIsBoundWithItsByteLengthAndANullColumnReadsAsNull) {
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path().constData(), kOpenCreate));
    ASSERT_EQ(connection.exec("CREATE TABLE t(a TEXT, b TEXT)"), kSqliteOk);
    SQLiteStatement statement;
    ASSERT_EQ(connection.prepare(statement, "INSERT INTO t(a) VALUES (?)", -1), kSqliteOk);
    const char text[] = "abcdef";
    EXPECT_EQ(statement.bindText(1, text, 3), kSqliteOk);
    EXPECT_EQ(statement.step(), kSqliteDone);
    EXPECT_EQ(connection.lastInsertRowId(), 1);

    ASSERT_EQ(connection.prepare(statement, "SELECT a, b FROM t", -1), kSqliteOk);
    ASSERT_EQ(statement.step(), kSqliteRow);
    EXPECT_STREQ(statement.columnText(0), "abc");
    EXPECT_EQ(statement.columnText(1), nullptr);
    EXPECT_EQ(statement.step(), kSqliteDone);
}

TEST_F(SQLiteLayer, TransactionWithoutAConnectionDoesNothing) {
    SQLiteAutoTransaction transaction(nullptr);
    EXPECT_FALSE(transaction.isActive());
    EXPECT_FALSE(transaction.begin());
    EXPECT_FALSE(transaction.commit());
}

TEST_F(SQLiteLayer, TransactionOnAClosedConnectionIsActiveButReportsFailure) {
    SQLiteDB connection;
    SQLiteAutoTransaction transaction(&connection);
    EXPECT_TRUE(transaction.isActive());
    EXPECT_FALSE(transaction.begin()); // already active
    EXPECT_FALSE(transaction.commit());
    EXPECT_FALSE(transaction.isActive());
    EXPECT_FALSE(transaction.begin()); // becomes active, but there is no handle
    EXPECT_TRUE(transaction.isActive());
}

TEST_F(SQLiteLayer, SecondBeginRunsNothingAndCommitEndsTheOneTransaction) {
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path().constData(), kOpenCreate));
    ASSERT_EQ(connection.exec("CREATE TABLE t(a INTEGER)"), kSqliteOk);
    {
        SQLiteAutoTransaction transaction(&connection);
        EXPECT_FALSE(transaction.begin());
        ASSERT_EQ(connection.exec("INSERT INTO t VALUES (1)"), kSqliteOk);
        // Not visible to another connection before the commit.
        EXPECT_EQ(readInt(QString::fromUtf8(path()), "SELECT count(*) FROM t"), 0);
        EXPECT_TRUE(transaction.commit());
        EXPECT_FALSE(transaction.isActive());
        EXPECT_FALSE(transaction.commit()); // no transaction left to end
    }
    EXPECT_EQ(readInt(QString::fromUtf8(path()), "SELECT count(*) FROM t"), 1);
}

TEST_F(SQLiteLayer, TransactionEndsWhenItsScopeEnds) {
    SQLiteDB connection;
    ASSERT_TRUE(connection.open(path().constData(), kOpenCreate));
    ASSERT_EQ(connection.exec("CREATE TABLE t(a INTEGER)"), kSqliteOk);
    {
        SQLiteAutoTransaction transaction(&connection);
        ASSERT_EQ(connection.exec("INSERT INTO t VALUES (1)"), kSqliteOk);
        ASSERT_EQ(connection.exec("INSERT INTO t VALUES (2)"), kSqliteOk);
    }
    EXPECT_EQ(readInt(QString::fromUtf8(path()), "SELECT count(*) FROM t"), 2);
    SQLiteAutoTransaction next(&connection); // a new one can start: the first ended
    EXPECT_TRUE(next.commit());
}

} // namespace
} // namespace corvane::store::test
