// Saving a macro's list as one store step, and finding the keys that play a macro.
#include "pages/macros/MacroStore.h"
#include "store/ProfileDatabase.h"
#include "store/sqlite/SQLiteDB.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvane::pages {
namespace {

class MacroStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("db")));
        ASSERT_TRUE(db().openForDevice(dir.path() + u'/', QStringLiteral("mouse")));
        macro = db().createMacro(QStringLiteral("m"));
        ASSERT_GT(macro, 0);
    }
    void TearDown() override { db().close(); }
    static store::ProfileDatabase& db() { return store::ProfileDatabase::instance(); }

    QTemporaryDir dir;
    int macro = 0;
};

TEST_F(MacroStoreTest, TheListReplacesTheStoredStepsInOrder) {
    MacroEventList list;
    list.insert(0, MacroEventList::keyPress(65, QStringLiteral("A"), 70));
    ASSERT_TRUE(saveMacroEvents(db(), macro, list));
    list.remove(1);
    list.insert(0, {delayEntry(25, 9)});
    ASSERT_TRUE(saveMacroEvents(db(), macro, list));

    std::vector<store::MacroEvent> events;
    ASSERT_EQ(db().listMacroEvents(macro, events), 4);
    MacroEventList back;
    back.fromEvents(events);
    EXPECT_EQ(back.entries(), list.entries());
    EXPECT_FALSE(saveMacroEvents(db(), 0, list));
}

TEST_F(MacroStoreTest, AFailedSaveKeepsTheOldSteps) {
    MacroEventList list;
    list.insert(0, MacroEventList::click(1, 5));
    ASSERT_TRUE(saveMacroEvents(db(), macro, list));
    const auto stored = [&] {
        std::vector<store::MacroEvent> events;
        db().listMacroEvents(macro, events);
        MacroEventList back;
        back.fromEvents(events);
        return back.entries();
    };
    const auto before = stored();
    ASSERT_EQ(before.size(), 4u);

    // The old steps are deleted and the delay goes in before the key press is refused
    // (a full disk, a locked file): the whole step is undone.
    ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE INSERT ON t_macrorecord "
                                     "WHEN NEW.type = 2 BEGIN SELECT RAISE(ABORT, 'full'); END"),
              store::kSqliteOk);
    MacroEventList replacement;
    replacement.insert(0, {delayEntry(25, 9)});
    replacement.insert(1, MacroEventList::keyPress(65, QStringLiteral("A"), 10));
    EXPECT_FALSE(saveMacroEvents(db(), macro, replacement));
    EXPECT_EQ(stored(), before);
    ASSERT_EQ(db().connection().exec("DROP TRIGGER refuse"), store::kSqliteOk);

    // A store that cannot begin the step changes nothing either.
    ASSERT_TRUE(db().close());
    EXPECT_FALSE(saveMacroEvents(db(), macro, MacroEventList{}));
    ASSERT_TRUE(db().openForDevice(dir.path() + u'/', QStringLiteral("mouse")));
    EXPECT_EQ(stored(), before);
}

TEST_F(MacroStoreTest, KeysPlayingAMacroAreThoseOfTheProfileBoundToIt) {
    store::ProfileRecord record;
    record.name = QStringLiteral("P");
    const int profile = db().createProfile(record);
    const int other = db().createMacro(QStringLiteral("o"));
    for (const auto& [key, id, prof] :
         {std::tuple{4, macro, profile}, std::tuple{2, macro, profile},
          std::tuple{3, other, profile}, std::tuple{5, macro, 99}}) {
        store::ButtonBinding b;
        b.profile = prof;
        b.keyCode = key;
        b.macroType = 4;
        b.macroValue = id;
        db().saveBinding(b);
    }
    store::ButtonBinding media;
    media.profile = profile;
    media.keyCode = 6;
    media.macroType = 3;
    media.macroValue = macro; // same number, not a macro
    db().saveBinding(media);
    EXPECT_EQ(keysPlayingMacro(db(), profile, macro), (std::vector<int>{2, 4}));
}

} // namespace
} // namespace corvane::pages
