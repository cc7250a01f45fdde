#include "StoreFixture.h"

namespace corvane::store::test {
namespace {

class Records : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
    }

    static ButtonBinding binding(int profile, int keyCode, int value, int value2 = 0) {
        ButtonBinding b;
        b.profile = profile;
        b.keyCode = keyCode;
        b.macroType = 2;
        b.macroValue = value;
        b.macroValue2 = value2;
        b.macroValue3 = 9;
        b.macroDesc = QStringLiteral("key %1").arg(value);
        return b;
    }
    static MacroEvent event(int macroId, int index, int value) {
        MacroEvent e;
        e.macroId = macroId;
        e.type = 1;
        e.index = index;
        e.value = value;
        e.timestamp = index * 10;
        e.desc = QStringLiteral("step %1").arg(index);
        return e;
    }
};

// --- bindings ---------------------------------------------------------------

TEST_F(Records, ABindingIsStoredWithEveryField) {
    ButtonBinding saved = binding(1, 3, 0x04, 0x02);
    saved.layoutValue = 11;
    saved.layoutDesc = QStringLiteral("layout");
    const int id = db().saveBinding(saved);
    ASSERT_EQ(id, 1);

    ButtonBinding read;
    ASSERT_TRUE(db().getBinding(1, 3, read));
    EXPECT_EQ(read.id, id);
    EXPECT_EQ(read.profile, 1);
    EXPECT_EQ(read.fnLayer, 0);
    EXPECT_EQ(read.keyCode, 3);
    EXPECT_EQ(read.layoutValue, 11);
    EXPECT_EQ(read.layoutDesc, "layout");
    EXPECT_EQ(read.macroType, 2);
    EXPECT_EQ(read.macroValue, 0x04);
    EXPECT_EQ(read.macroValue2, 0x02);
    EXPECT_EQ(read.macroValue3, 9);
    EXPECT_EQ(read.macroDesc, "key 4");
}

TEST_F(Records, SavingABindingTwiceKeepsOneRowWithTheSecondValues) {
    ASSERT_GT(db().saveBinding(binding(1, 3, 5)), 0);
    const int second = db().saveBinding(binding(1, 3, 6));
    ASSERT_GT(second, 0);
    std::vector<ButtonBinding> list;
    ASSERT_EQ(db().listBindings(1, list), 1);
    EXPECT_EQ(list[0].id, second);
    EXPECT_EQ(list[0].macroValue, 6);
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_key_macro_data"), 1);
}

TEST_F(Records, AFailedSaveKeepsTheButtonsPreviousBinding) {
    ASSERT_GT(db().saveBinding(binding(1, 3, 5)), 0);
    // Make the next INSERT fail the way a full disk or a damaged file would.
    ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data "
                                     "WHEN NEW.macro_value = 99 BEGIN SELECT RAISE(ABORT, 'no'); "
                                     "END;"),
              0);
    EXPECT_EQ(db().saveBinding(binding(1, 3, 99)), 0);
    ButtonBinding read;
    ASSERT_TRUE(db().getBinding(1, 3, read));
    EXPECT_EQ(read.macroValue, 5);
    // The store is usable afterwards: no savepoint is left open.
    EXPECT_GT(db().saveBinding(binding(1, 3, 6)), 0);
    ASSERT_TRUE(db().getBinding(1, 3, read));
    EXPECT_EQ(read.macroValue, 6);
}

TEST_F(Records, ABindingWithoutValuesRemovesTheButtonsRow) {
    ASSERT_GT(db().saveBinding(binding(1, 3, 5)), 0);
    EXPECT_EQ(db().saveBinding(binding(1, 3, 0, 0)), 0);
    ButtonBinding read;
    EXPECT_FALSE(db().getBinding(1, 3, read));
    // Either value alone is enough to keep a row.
    EXPECT_GT(db().saveBinding(binding(1, 4, 0, 7)), 0);
    EXPECT_TRUE(db().getBinding(1, 4, read));
}

TEST_F(Records, BindingsAreListedUpdatedAndDeletedPerProfile) {
    for (int key = 1; key <= 3; ++key) {
        ASSERT_GT(db().saveBinding(binding(1, key, key)), 0);
    }
    ASSERT_GT(db().saveBinding(binding(2, 1, 10)), 0);

    std::vector<ButtonBinding> list(5);
    ASSERT_EQ(db().listBindings(1, list), 3);
    EXPECT_EQ(list[2].keyCode, 3);

    EXPECT_TRUE(db().updateBindingDesc(1, 2, QStringLiteral("renamed")));
    ButtonBinding read;
    ASSERT_TRUE(db().getBinding(1, 2, read));
    EXPECT_EQ(read.macroDesc, "renamed");
    EXPECT_EQ(read.macroValue, 2);

    EXPECT_TRUE(db().deleteBindings(1));
    EXPECT_EQ(db().listBindings(1, list), 0);
    EXPECT_EQ(db().listBindings(2, list), 1);
}

TEST_F(Records, ABindingOnAnotherLayerIsNotReadAsTheButtonsOwn) {
    ButtonBinding layered = binding(1, 3, 5);
    layered.fnLayer = 1;
    ASSERT_GT(db().saveBinding(layered), 0);
    ButtonBinding read;
    EXPECT_FALSE(db().getBinding(1, 3, read));
    std::vector<ButtonBinding> list;
    EXPECT_EQ(db().listBindings(1, list), 0);
}

// --- macros -----------------------------------------------------------------

TEST_F(Records, ANewMacroHasTheDefaultPlaySettings) {
    const int id = db().createMacro(QStringLiteral("Combo"));
    ASSERT_EQ(id, 1);
    MacroDefinition macro;
    ASSERT_TRUE(db().getMacro(id, macro));
    EXPECT_EQ(macro.id, id);
    EXPECT_EQ(macro.name, "Combo");
    EXPECT_EQ(macro.playType, 0);
    EXPECT_EQ(macro.playTimes, 1);
    EXPECT_EQ(macro.delayType, 1);
    EXPECT_EQ(macro.delayTime, 0);
}

TEST_F(Records, MacrosAreInsertedUpdatedRenamedAndListed) {
    const MacroDefinition imported{0, QStringLiteral("Imported"), 2, 5, 3, 40};
    const int first = db().insertMacro(imported);
    const int second = db().createMacro(QStringLiteral("Second"));
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);

    MacroDefinition read;
    ASSERT_TRUE(db().getMacro(first, read));
    EXPECT_EQ(read.playType, 2);
    EXPECT_EQ(read.playTimes, 5);
    EXPECT_EQ(read.delayType, 3);
    EXPECT_EQ(read.delayTime, 40);

    EXPECT_TRUE(
        db().updateMacro(second, MacroDefinition{77, QStringLiteral("Edited"), 1, 9, 2, 15}));
    ASSERT_TRUE(db().getMacro(second, read));
    EXPECT_EQ(read.id, second); // the id argument decides the row
    EXPECT_EQ(read.name, "Edited");
    EXPECT_EQ(read.playTimes, 9);
    EXPECT_EQ(read.delayTime, 15);
    EXPECT_FALSE(db().getMacro(77, read));

    EXPECT_TRUE(db().renameMacro(first, QStringLiteral("Renamed")));
    std::vector<MacroDefinition> macros;
    ASSERT_EQ(db().listMacros(macros), 2);
    EXPECT_EQ(macros[0].name, "Renamed");
    EXPECT_EQ(macros[0].playTimes, 5);
    EXPECT_EQ(macros[1].name, "Edited");
}

TEST_F(Records, EventsAreReadBackInIndexOrder) {
    const int macro = db().createMacro(QStringLiteral("m"));
    const std::vector<MacroEvent> events = {event(macro, 3, 0x43), event(macro, 0, 0x40),
                                            event(macro, 2, 0x42), event(macro, 1, 0x41)};
    ASSERT_TRUE(db().insertMacroEvents(events));
    ASSERT_GT(db().insertMacroEvent(event(macro + 1, 0, 0x50)), 0); // another macro's

    std::vector<MacroEvent> read;
    ASSERT_EQ(db().listMacroEvents(macro, read), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(read[i].index, i);
        EXPECT_EQ(read[i].value, 0x40 + i);
        EXPECT_EQ(read[i].timestamp, i * 10);
        EXPECT_EQ(read[i].desc, QStringLiteral("step %1").arg(i));
        EXPECT_EQ(read[i].macroId, macro);
        EXPECT_EQ(read[i].type, 1);
    }
    // Written in list order: ids ascend along the list, not along the index.
    EXPECT_EQ(read[3].id, 1);
    EXPECT_EQ(read[0].id, 2);
}

TEST_F(Records, EventsAreWrittenInOneTransaction) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < 50; ++i) {
        events.push_back(event(1, i, i));
    }
    ASSERT_TRUE(db().insertMacroEvents(events));
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_macrorecord WHERE macro_id = 1"), 50);
    // No transaction is left open: an explicit one can start.
    EXPECT_EQ(db().connection().exec("BEGIN"), kSqliteOk);
    EXPECT_EQ(db().connection().exec("END"), kSqliteOk);
    EXPECT_TRUE(db().insertMacroEvents({}));
}

TEST_F(Records, DeletingAMacroTakesItsEventsAndLeavesBindings) {
    const int kept = db().createMacro(QStringLiteral("kept"));
    const int gone = db().createMacro(QStringLiteral("gone"));
    ASSERT_TRUE(db().insertMacroEvents({event(kept, 0, 1), event(gone, 0, 2), event(gone, 1, 3)}));
    ButtonBinding runsMacro = binding(1, 5, gone);
    runsMacro.macroType = 4;
    ASSERT_GT(db().saveBinding(runsMacro), 0);

    EXPECT_TRUE(db().deleteMacro(gone));
    MacroDefinition read;
    EXPECT_FALSE(db().getMacro(gone, read));
    std::vector<MacroEvent> events;
    EXPECT_EQ(db().listMacroEvents(gone, events), 0);
    EXPECT_EQ(db().listMacroEvents(kept, events), 1);
    ButtonBinding stillThere;
    EXPECT_TRUE(db().getBinding(1, 5, stillThere));

    EXPECT_TRUE(db().deleteMacro(999)); // nothing to delete is no failure
    EXPECT_TRUE(db().deleteMacroEvents(kept));
    EXPECT_EQ(db().listMacroEvents(kept, events), 0);
    EXPECT_TRUE(db().getMacro(kept, read));
}

// --- lights -----------------------------------------------------------------

TEST_F(Records, AProfileWithoutLightsHasNoneCurrent) {
    EXPECT_EQ(db().countLights(1), 0);
    EXPECT_EQ(db().getCurrentLightMode(1), 0);
    LightEffect light;
    EXPECT_FALSE(db().getLight(1, 1, light));
}

TEST_F(Records, DefaultLightsAreWrittenForTheOfferedModesOnly) {
    // light_4 (mode 4) not offered.
    ASSERT_EQ(db().createDefaultLights(2, {true, true, true, false, true, true}), 5);
    EXPECT_EQ(db().countLights(2), 5);
    EXPECT_EQ(db().countLights(1), 0);
    EXPECT_EQ(db().getCurrentLightMode(2), 1);

    std::vector<LightEffect> lights;
    ASSERT_EQ(db().listLights(2, lights), 5);
    const struct {
        int mode;
        const char16_t* name;
        int configFunc;
        int textId;
    } expected[] = {{1, u"流光", 3, 280},
                    {2, u"呼吸", 2067, 281},
                    {3, u"常亮", 17, 282},
                    {5, u"七彩波浪", 3, 284},
                    {0, u"关闭", 0, 285}};
    for (int i = 0; i < 5; ++i) {
        const LightEffect& light = lights[i];
        EXPECT_EQ(light.profile, 2);
        EXPECT_EQ(light.mode, expected[i].mode);
        EXPECT_EQ(light.name, QString::fromUtf16(expected[i].name));
        EXPECT_EQ(light.configFunc, expected[i].configFunc);
        EXPECT_EQ(light.reserved, expected[i].textId);
        EXPECT_EQ(light.brightness, 4);
        EXPECT_EQ(light.speed, 2);
        EXPECT_EQ(light.direction, 0);
        EXPECT_EQ(light.colorful, 1);
        EXPECT_EQ(light.colorIndex, 0);
        EXPECT_EQ(light.colorValues, (std::array<int, 7>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00,
                                                         0x00FFFF, 0xFF00FF, 0xFFFFFF}));
        EXPECT_EQ(light.status, light.mode == 1 ? 1 : 0);
    }

    // A profile that has rows keeps them.
    EXPECT_EQ(db().createDefaultLights(2, {true, true, true, true, true, true}), 0);
    EXPECT_EQ(db().countLights(2), 5);
}

TEST_F(Records, WithoutAModeOneRowNoModeIsCurrent) {
    ASSERT_EQ(db().createDefaultLights(1, {false, true, true, false, false, false}), 2);
    EXPECT_EQ(db().getCurrentLightMode(1), 0);
}

TEST_F(Records, UpdatingALightChangesItsSettingsButNotItsNameOrStatus) {
    ASSERT_EQ(db().createDefaultLights(1, {true, true, false, false, false, false}), 2);
    LightEffect changed;
    changed.profile = 1;
    changed.name = QStringLiteral("ignored");
    changed.mode = 99;
    changed.brightness = 1;
    changed.speed = 3;
    changed.direction = 1;
    changed.colorful = 0;
    changed.colorIndex = 2;
    changed.colorValues = {1, 2, 3, 4, 5, 6, 7};
    changed.configFunc = 0x7FF;
    changed.reserved = 300;
    changed.status = 0;
    EXPECT_TRUE(db().updateLight(1, changed));

    LightEffect read;
    ASSERT_TRUE(db().getLight(1, 1, read));
    EXPECT_EQ(read.mode, 1);
    EXPECT_EQ(read.name, QStringLiteral("流光"));
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.brightness, 1);
    EXPECT_EQ(read.speed, 3);
    EXPECT_EQ(read.direction, 1);
    EXPECT_EQ(read.colorful, 0);
    EXPECT_EQ(read.colorIndex, 2);
    EXPECT_EQ(read.colorValues, (std::array<int, 7>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(read.configFunc, 0x7FF);
    EXPECT_EQ(read.reserved, 300);

    ASSERT_TRUE(db().getLight(1, 2, read)); // the other mode is untouched
    EXPECT_EQ(read.brightness, 4);
}

TEST_F(Records, TheCurrentModeMovesAndLightsAreDeletedPerProfile) {
    ASSERT_EQ(db().createDefaultLights(1, {true, true, true, true, true, true}), 6);
    ASSERT_EQ(db().createDefaultLights(2, {true, true, true, true, true, true}), 6);
    EXPECT_TRUE(db().setCurrentLightMode(1, 3));
    EXPECT_EQ(db().getCurrentLightMode(1), 3);
    EXPECT_EQ(db().getCurrentLightMode(2), 1);
    EXPECT_EQ(
        readInt(dbPath(), "SELECT count(*) FROM t_light_data WHERE profile = 1 AND status = 1"), 1);

    EXPECT_TRUE(db().setCurrentLightMode(1, 42)); // no such row: none current
    EXPECT_EQ(db().getCurrentLightMode(1), 0);

    EXPECT_TRUE(db().deleteLights(1));
    EXPECT_EQ(db().countLights(1), 0);
    EXPECT_EQ(db().countLights(2), 6);
}

} // namespace
} // namespace corvane::store::test
