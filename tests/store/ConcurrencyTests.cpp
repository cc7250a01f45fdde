#include "StoreFixture.h"

#include "store/ProfileStartup.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace corvane::store::test {
namespace {

class Concurrency : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
        loadProfiles(db(), {[] { return QStringLiteral("Profile"); }, nullptr});
    }
};

QString settingKey(int i) {
    return QStringLiteral("dpi_group%1_value").arg(i % 8);
}

TEST_F(Concurrency, TwoThreadsWritingSettingsAndBindingsLoseNoWrite) {
    constexpr int kRounds = 60;
    std::atomic<bool> go{false};

    // The window: settings of every profile, then a read of each back.
    std::thread window([&] {
        while (!go) {
            std::this_thread::yield();
        }
        for (int round = 0; round < kRounds; ++round) {
            for (int profile = 1; profile <= 4; ++profile) {
                db().setSetting(profile, settingKey(round), round * 10 + profile);
                QString value;
                db().getSetting(profile, u"dpi_index", value);
            }
        }
    });
    // The worker: bindings, lists, a macro batch and deletes of another profile.
    std::thread worker([&] {
        while (!go) {
            std::this_thread::yield();
        }
        for (int round = 0; round < kRounds; ++round) {
            ButtonBinding binding;
            binding.profile = 1 + round % 4;
            binding.keyCode = round;
            binding.macroValue = round + 1;
            db().saveBinding(binding);
            std::vector<ButtonBinding> list;
            db().listBindings(binding.profile, list);
            std::vector<MacroEvent> events(5);
            for (int i = 0; i < 5; ++i) {
                events[i].macroId = 1;
                events[i].index = round * 5 + i;
            }
            db().insertMacroEvents(events);
            db().deleteBindings(9);
            db().setSetting(1, u"sensor_flag", round);
        }
    });
    go = true;
    window.join();
    worker.join();

    for (int profile = 1; profile <= 4; ++profile) {
        for (int key = 0; key < 8; ++key) {
            int lastRound = kRounds - 1; // the last round that wrote this key
            while (lastRound % 8 != key) {
                --lastRound;
            }
            EXPECT_EQ(db().getSettingInt(profile, settingKey(key)), lastRound * 10 + profile);
        }
    }
    EXPECT_EQ(db().getSettingInt(1, u"sensor_flag"), kRounds - 1);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_key_macro_data"), kRounds);
    for (int round = 0; round < kRounds; ++round) {
        ButtonBinding read;
        ASSERT_TRUE(db().getBinding(1 + round % 4, round, read)) << round;
        EXPECT_EQ(read.macroValue, round + 1);
    }
    std::vector<MacroEvent> events;
    ASSERT_EQ(db().listMacroEvents(1, events), kRounds * 5);
    for (int i = 0; i < kRounds * 5; ++i) {
        EXPECT_EQ(events[i].index, i);
    }
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata"), 160);
}

TEST_F(Concurrency, DeletingBindingsWaitsForTheStoresLock) {
    ButtonBinding binding;
    binding.profile = 1;
    binding.keyCode = 1;
    binding.macroValue = 1;
    ASSERT_GT(db().saveBinding(binding), 0);

    std::atomic<bool> deleted{false};
    std::thread worker;
    {
        std::lock_guard held(db().mutex()); // e.g. the window in the middle of a change
        worker = std::thread([&] {
            db().deleteBindings(1);
            deleted = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_FALSE(deleted);
        ButtonBinding read;
        EXPECT_TRUE(db().getBinding(1, 1, read));
    }
    worker.join();
    EXPECT_TRUE(deleted);
    ButtonBinding read;
    EXPECT_FALSE(db().getBinding(1, 1, read));
}

TEST_F(Concurrency, ClosingAndReopeningWhileTheOtherThreadQueriesIsSafe) {
    // The device type is settled on either thread while the other uses the
    // store: a query runs on the open file or fails quietly, never on a
    // connection being closed under it.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        int round = 0;
        while (!done) {
            db().setSetting(1 + round % 4, u"dpi_index", round % 6);
            std::vector<ProfileRecord> profiles;
            const int count = db().listProfiles(profiles);
            EXPECT_TRUE(count == 0 || count == 4) << count;
            ++round;
        }
    });
    for (int i = 0; i < 200; ++i) {
        EXPECT_TRUE(db().close());
        EXPECT_TRUE(openNew());
    }
    done = true;
    worker.join();
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data"), 4);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_configdata"), 160);
}

} // namespace
} // namespace corvane::store::test
