#include "ProfileFixture.h"

#include "protocol/codec/ButtonTable.h"
#include "protocol/codec/MacroStream.h"
#include "store/MacroRecords.h"

namespace corvane::exchange::test {
namespace {

using store::MacroEvent;

// What the mouse is sent for a profile: its button table and, for each key that plays
// a macro, that macro's stream.
struct Pushed {
    protocol::ButtonTable table{};
    std::map<int, std::vector<std::uint8_t>> macros;

    friend bool operator==(const Pushed&, const Pushed&) = default;
};

Pushed pushedFor(int profile) {
    Pushed pushed;
    pushed.table = protocol::buildButtonTable(profile);
    std::vector<store::ButtonBinding> bindings;
    ProfileDatabase::instance().listBindings(profile, bindings);
    for (const store::ButtonBinding& binding : bindings) {
        if (binding.macroType == 4) {
            pushed.macros[binding.keyCode] =
                protocol::buildMacroStream(binding.keyCode, binding.macroValue).bytes;
        }
    }
    return pushed;
}

class SelfContainedFiles : public ProfileTest {
protected:
    static int addMacro(const QString& name, int key, int delay) {
        const int id = db().createMacro(name);
        const std::vector<MacroEvent> steps = {
            {0, id, 2, 0, key, 1, QStringLiteral("down")},
            {0, id, 1, 1, delay, 2, QStringLiteral("wait")},
            {0, id, 3, 2, key, 1, QStringLiteral("up")},
        };
        for (const MacroEvent& step : steps) {
            db().insertMacroEvent(step);
        }
        return id;
    }
};

// Two macro keys exported from one store and imported into an empty one play the same
// macros: the mouse gets the same button table and the same macro streams.
TEST_F(SelfContainedFiles, AProfileWithMacroKeysPlaysTheSameMacrosElsewhere) {
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    addMacro(QStringLiteral("filler"), 0x41, 5); // the store's ids differ from the target's
    const int first = addMacro(QStringLiteral("Combo"), 0x51, 40);
    const int second = addMacro(QStringLiteral("Combo 2"), 0x57, 80);
    ASSERT_GT(db().saveBinding(binding(1, 3, 4, first, 0, 0, QStringLiteral("Combo"))), 0);
    ASSERT_GT(db().saveBinding(binding(1, 4, 4, second, 0, 0, QStringLiteral("Combo 2"))), 0);
    ASSERT_GT(db().saveBinding(binding(1, 1, 2, 0x04, 0, 0)), 0);
    const Pushed source = pushedFor(1);
    ASSERT_EQ(source.macros.size(), 2u);
    ASSERT_EQ(exportProfile(db(), 1, file(QStringLiteral("p.xml")), {}), ExchangeStatus::Done);

    ASSERT_TRUE(use(QStringLiteral("target")));
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    const Pushed before = pushedFor(1);
    const ProfileImportResult result =
        importProfile(db(), 1, file(QStringLiteral("p.xml")), takingEveryBinding());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    ASSERT_EQ(result.macros.size(), 2u);
    EXPECT_EQ(result.macros[0].id, 1);
    EXPECT_EQ(result.macros[1].id, 2);
    EXPECT_EQ(result.macroKeys, (std::vector<int>{3, 4}));
    EXPECT_EQ(pushedFor(1), source);
    EXPECT_NE(pushedFor(1), before);

    // Imported again, the file finds its macros and adds none.
    const ProfileImportResult again =
        importProfile(db(), 1, file(QStringLiteral("p.xml")), takingEveryBinding());
    ASSERT_EQ(again.status, ExchangeStatus::Done);
    EXPECT_TRUE(again.macros.empty());
    EXPECT_EQ(tableRows(dbPath(QStringLiteral("target")), QStringLiteral("t_macro_data"),
                        {QStringLiteral("macro_id"), QStringLiteral("name")}),
              (QStringList{"1|'Combo'", "2|'Combo 2'"}));
    EXPECT_EQ(pushedFor(1), source);
}

// A macro of the same name but other steps is another macro: the file's is added.
TEST_F(SelfContainedFiles, OnlyAnIdenticalMacroIsUsedAgain) {
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    const int id = addMacro(QStringLiteral("Combo"), 0x51, 40);
    ASSERT_GT(db().saveBinding(binding(1, 3, 4, id, 0, 0, QStringLiteral("Combo"))), 0);
    const Pushed source = pushedFor(1);
    ASSERT_EQ(exportProfile(db(), 1, file(QStringLiteral("p.xml")), {}), ExchangeStatus::Done);

    ASSERT_TRUE(use(QStringLiteral("target")));
    ASSERT_EQ(addProfile(QStringLiteral("Profile 1")), 1);
    addMacro(QStringLiteral("Combo"), 0x51, 41); // one millisecond longer
    const ProfileImportResult result =
        importProfile(db(), 1, file(QStringLiteral("p.xml")), takingEveryBinding());
    ASSERT_EQ(result.status, ExchangeStatus::Done);
    ASSERT_EQ(result.macros.size(), 1u);
    EXPECT_EQ(result.macros[0].id, 2);
    EXPECT_EQ(pushedFor(1), source);
}

} // namespace
} // namespace corvane::exchange::test
