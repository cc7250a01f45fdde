#include "StoreFixture.h"

#include "store/StoreTransaction.h"

#include <atomic>
#include <thread>

namespace corvane::store::test {
namespace {

class StoreTransactions : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
        ProfileRecord record;
        record.name = QStringLiteral("P");
        ASSERT_EQ(db().createProfile(record), 1);
    }

    static void changeEverything() {
        ASSERT_TRUE(db().renameProfile(1, QStringLiteral("changed")));
        ASSERT_TRUE(db().setSetting(1, u"dpi_count", QStringLiteral("3")));
        ButtonBinding binding;
        binding.profile = 1;
        binding.keyCode = 2;
        binding.macroType = 2;
        binding.macroValue = 4;
        ASSERT_GT(db().saveBinding(binding), 0); // runs a savepoint of its own inside
        ASSERT_GT(db().createMacro(QStringLiteral("m")), 0);
    }
};

TEST_F(StoreTransactions, CommitKeepsAndEveryOtherEndUndoes) {
    const QByteArray before = fileBytes(dbPath());
    {
        StoreTransaction transaction(db());
        ASSERT_TRUE(transaction.isActive());
        changeEverything();
    } // destroyed without commit
    EXPECT_EQ(fileBytes(dbPath()), before);
    {
        StoreTransaction transaction(db());
        changeEverything();
        transaction.rollback();
        EXPECT_FALSE(transaction.commit());
    }
    EXPECT_EQ(fileBytes(dbPath()), before);
    {
        StoreTransaction transaction(db());
        changeEverything();
        EXPECT_TRUE(transaction.commit());
    }
    EXPECT_EQ(readColumn(dbPath(), "SELECT name FROM t_profile_data"), QStringList{"changed"});
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_macro_data"), 1);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_key_macro_data"), 1);
}

TEST_F(StoreTransactions, NestsInsideAnOuterStep) {
    StoreTransaction outer(db());
    {
        StoreTransaction inner(db());
        ASSERT_TRUE(db().renameProfile(1, QStringLiteral("inner")));
    } // the inner step is undone, the outer one goes on
    ASSERT_TRUE(db().setSetting(1, u"dpi_count", QStringLiteral("2")));
    ASSERT_TRUE(outer.commit());
    EXPECT_EQ(readColumn(dbPath(), "SELECT name FROM t_profile_data"), QStringList{"P"});
    EXPECT_EQ(db().getSettingInt(1, u"dpi_count"), 2);
}

TEST_F(StoreTransactions, AClosedStoreGivesNoStep) {
    ASSERT_TRUE(db().close());
    StoreTransaction transaction(db());
    EXPECT_FALSE(transaction.isActive());
    EXPECT_FALSE(transaction.commit());
}

// Another thread's write waits for the step's end, so it can never be undone with it.
TEST_F(StoreTransactions, AnotherThreadWaitsForTheStep) {
    std::atomic<bool> written = false;
    std::thread other;
    {
        StoreTransaction transaction(db());
        other = std::thread([&] {
            db().setSetting(1, u"dpi_index", QStringLiteral("4"));
            written = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(written);
        ASSERT_TRUE(db().renameProfile(1, QStringLiteral("x")));
    } // undone
    other.join();
    EXPECT_EQ(db().getSettingInt(1, u"dpi_index"), 4);
    EXPECT_EQ(readColumn(dbPath(), "SELECT name FROM t_profile_data"), QStringList{"P"});
}

} // namespace
} // namespace corvane::store::test
