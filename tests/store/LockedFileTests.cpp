// Another program (here: another connection with its own handle) holding the
// database file: a write either fails visibly or is in the file after the
// store closes, and a moment's lock at open is waited out.

#include "StoreFixture.h"

#include "store/ProfileStartup.h"
#include "store/sqlite/SQLiteAutoTransaction.h"

#include <chrono>
#include <future>
#include <thread>

namespace corvane::store::test {
namespace {

class LockedFile : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
        loadProfiles(db(), {[] { return QStringLiteral("Profile"); }, nullptr});
    }
    void TearDown() override {
        db().connection().setBusyTimeout(kDefaultBusyTimeoutMs);
        StoreTest::TearDown();
    }
    int countInFile(const QString& sql) const {
        return readInt(dbPath(), sql.toUtf8().constData());
    }
};

// One kind of write, made once per phase with values of that phase, and how
// many rows of it the file holds afterwards (whole: all of them).
struct Write {
    const char* name;
    bool (*write)(ProfileDatabase& db, int phase);
    QString (*countSql)(int phase);
    int whole;
};

const Write kWrites[] = {
    {"setting",
     [](ProfileDatabase& db, int phase) {
         return db.setSetting(1, QStringLiteral("dpi_group%1_value").arg(phase), 1000 + phase);
     },
     [](int phase) {
         return QStringLiteral("SELECT count(*) FROM t_configdata WHERE profile = 1 AND "
                               "key = 'dpi_group%1_value' AND value = '%2'")
             .arg(phase)
             .arg(1000 + phase);
     },
     1},
    {"binding",
     [](ProfileDatabase& db, int phase) {
         ButtonBinding binding;
         binding.profile = 1;
         binding.keyCode = 100 + phase;
         binding.macroValue = 1000 + phase;
         return db.saveBinding(binding) > 0;
     },
     [](int phase) {
         return QStringLiteral("SELECT count(*) FROM t_key_macro_data WHERE key_code = %1")
             .arg(100 + phase);
     },
     1},
    {"macro events",
     [](ProfileDatabase& db, int phase) {
         std::vector<MacroEvent> events(3);
         for (int i = 0; i < 3; ++i) {
             events[i].macroId = 50 + phase;
             events[i].index = i;
         }
         return db.insertMacroEvents(events);
     },
     [](int phase) {
         return QStringLiteral("SELECT count(*) FROM t_macrorecord WHERE macro_id = %1")
             .arg(50 + phase);
     },
     3},
    {"profile with its settings",
     [](ProfileDatabase& db, int phase) {
         return db.createProfile(ProfileRecord{0, QStringLiteral("P%1").arg(phase), 0, {}, 0}) > 0;
     },
     [](int phase) {
         return QStringLiteral("SELECT (SELECT count(*) FROM t_profile_data WHERE name = 'P%1') + "
                               "(SELECT count(*) FROM t_configdata WHERE profile IN "
                               "(SELECT profile FROM t_profile_data WHERE name = 'P%1'))")
             .arg(phase);
     },
     41},
    {"default lights",
     [](ProfileDatabase& db, int phase) {
         return db.createDefaultLights(20 + phase, {true, true, true, true, true, true}) == 6;
     },
     [](int phase) {
         return QStringLiteral("SELECT count(*) FROM t_light_data WHERE profile = %1 AND "
                               "(status = 0 OR mode = 1)")
             .arg(20 + phase);
     },
     6},
};

TEST_F(LockedFile, EveryWriteFailsVisiblyOrIsInTheFileAfterTheClose) {
    db().connection().setBusyTimeout(50);
    SQLiteDB other;
    ASSERT_TRUE(other.open(dbPath().toUtf8().constData(), kOpenExisting));

    struct Phase {
        const char* name;
        const char* otherRuns; // before the writes of the phase
        bool locked;
    };
    const Phase phases[] = {
        {"free", nullptr, false},
        {"another program reads", "BEGIN; SELECT count(*) FROM t_configdata;", true},
        {"the reader has ended", "END", false},
        {"another program writes", "BEGIN EXCLUSIVE", true},
        {"the writer has ended", "END", false},
    };
    std::vector<std::vector<bool>> reported;
    int current = 0;
    for (int phase = 0; phase < static_cast<int>(std::size(phases)); ++phase) {
        SCOPED_TRACE(phases[phase].name);
        if (phases[phase].otherRuns != nullptr) {
            ASSERT_EQ(other.exec(phases[phase].otherRuns), kSqliteOk);
        }
        std::vector<bool>& done = reported.emplace_back();
        for (const Write& write : kWrites) {
            done.push_back(write.write(db(), phase));
            EXPECT_EQ(done.back(), !phases[phase].locked) << write.name;
        }
        const int profile = 1 + phase % 4;
        if (db().setCurrentProfile(profile)) {
            current = profile;
        }
    }
    ASSERT_TRUE(other.close());
    ASSERT_TRUE(db().close());

    for (int phase = 0; phase < static_cast<int>(std::size(phases)); ++phase) {
        for (std::size_t i = 0; i < std::size(kWrites); ++i) {
            EXPECT_EQ(countInFile(kWrites[i].countSql(phase)),
                      reported[phase][i] ? kWrites[i].whole : 0)
                << phases[phase].name << ": " << kWrites[i].name;
        }
    }
    EXPECT_EQ(countInFile(QStringLiteral("SELECT count(*) FROM t_profile_data WHERE status = 1")),
              1);
    EXPECT_EQ(countInFile(QStringLiteral("SELECT profile FROM t_profile_data WHERE status = 1")),
              current);
}

// Holds a lock on path from another thread until release is set; returns once
// the lock is held.
class LockHolder {
public:
    LockHolder(const QString& path, const char* lockSql, std::chrono::milliseconds holdFor)
        : thread_([this, path = path.toUtf8(), lockSql, holdFor] {
              SQLiteDB connection;
              const bool held = connection.open(path.constData(), kOpenExisting) &&
                                connection.exec(lockSql) == kSqliteOk;
              taken_.set_value(held);
              std::this_thread::sleep_for(holdFor);
              connection.exec("END");
          }) {}
    ~LockHolder() { thread_.join(); }
    bool waitUntilHeld() { return taken_.get_future().get(); }

private:
    std::promise<bool> taken_;
    std::thread thread_;
};

TEST_F(LockedFile, AWriteWaitsForAShortReadAndIsKept) {
    ButtonBinding binding;
    binding.profile = 1;
    binding.keyCode = 7;
    binding.macroValue = 3;
    {
        LockHolder reader(dbPath(), "BEGIN; SELECT count(*) FROM t_configdata;",
                          std::chrono::milliseconds(150));
        ASSERT_TRUE(reader.waitUntilHeld());
        EXPECT_GT(db().saveBinding(binding), 0);
        EXPECT_TRUE(db().setSetting(1, u"dpi_index", 4));
    }
    ASSERT_TRUE(db().close());
    EXPECT_EQ(readInt(dbPath(), "SELECT macro_value FROM t_key_macro_data WHERE key_code = 7"), 3);
    EXPECT_EQ(readInt(dbPath(), "SELECT value FROM t_configdata WHERE profile = 1 AND "
                                "key = 'dpi_index'"),
              4);
}

TEST_F(LockedFile, OpenWaitsOutAShortLock) {
    ASSERT_TRUE(db().close());
    LockHolder writer(dbPath(), "BEGIN EXCLUSIVE", std::chrono::milliseconds(200));
    ASSERT_TRUE(writer.waitUntilHeld());
    EXPECT_TRUE(openNew());
    EXPECT_TRUE(db().opened());
    std::vector<ProfileRecord> profiles;
    EXPECT_EQ(db().listProfiles(profiles), 4);
}

TEST_F(LockedFile, AFileLockedBeyondTheWaitIsNotTakenForDamaged) {
    ASSERT_TRUE(db().close());
    db().connection().setBusyTimeout(20);
    const QByteArray before = fileBytes(dbPath());
    {
        SQLiteDB other;
        ASSERT_TRUE(other.open(dbPath().toUtf8().constData(), kOpenExisting));
        ASSERT_EQ(other.exec("BEGIN EXCLUSIVE"), kSqliteOk);
        EXPECT_FALSE(openNew());
        EXPECT_FALSE(db().isOpen());
        ASSERT_EQ(other.exec("END"), kSqliteOk);
    }
    EXPECT_EQ(fileBytes(dbPath()), before);
    // The next open, once the lock has gone, finds the file as it was.
    ASSERT_TRUE(openNew());
    EXPECT_EQ(db().getCurrentProfile(), 1);
}

TEST_F(LockedFile, ATransactionWhoseEndFailsIsRolledBackNotLeftOpen) {
    SQLiteDB& connection = db().connection();
    connection.setBusyTimeout(20);
    SQLiteDB reader;
    ASSERT_TRUE(reader.open(dbPath().toUtf8().constData(), kOpenExisting));
    {
        SQLiteAutoTransaction transaction(&connection);
        ASSERT_EQ(connection.exec("UPDATE t_configdata SET value = '9' WHERE profile = 2"),
                  kSqliteOk);
        ASSERT_EQ(reader.exec("BEGIN; SELECT count(*) FROM t_configdata;"), kSqliteOk);
        EXPECT_FALSE(transaction.commit());
        ASSERT_EQ(reader.exec("END"), kSqliteOk);
    }
    // No transaction is left on the connection: a later write is committed at once.
    EXPECT_TRUE(db().setSetting(3, u"dpi_index", 5));
    EXPECT_EQ(readInt(dbPath(), "SELECT value FROM t_configdata WHERE profile = 3 AND "
                                "key = 'dpi_index'"),
              5);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata WHERE value = '9'"), 0);
}

} // namespace
} // namespace corvane::store::test
