#include "StoreFixture.h"

namespace corvane::store::test {
namespace {

// Texts are bound as UTF-8 with their byte length, never pasted into SQL.
struct TextCase {
    const char* label;
    QString text;
};
void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.label;
}

const TextCase kTexts[] = {
    {"Chinese", QStringLiteral("配置 1")},
    {"ChineseMode", QStringLiteral("七彩波浪")},
    {"Cyrillic", QStringLiteral("Конфигурация 2")},
    {"Arabic", QStringLiteral("لتكوين ٣")},
    {"Vietnamese", QStringLiteral("Cấu hình 4")},
    {"Quotes", QStringLiteral("it's \"quoted\"; --")},
    {"SqlLookalike", QStringLiteral("'); DROP TABLE t_profile_data; --")},
    {"ControlCharacters", QStringLiteral("tab\there\nnew line\r\x01\x1f\x7f")},
    {"Surrogates", QStringLiteral("🎮 surrogates 𝄞")},
    {"Blanks", QStringLiteral("  blanks kept  ")},
    {"Empty", QString()},
};

class TextRoundTrip : public StoreTest, public ::testing::WithParamInterface<TextCase> {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(openNew());
    }
};

TEST_P(TextRoundTrip, ComesBackUnchangedFromEveryTextColumn) {
    const QString& text = GetParam().text;

    ProfileRecord record;
    record.name = text;
    record.app = text;
    const int profile = db().createProfile(record);
    ASSERT_GT(profile, 0);
    std::vector<ProfileRecord> profiles;
    ASSERT_EQ(db().listProfiles(profiles), 1);
    EXPECT_EQ(profiles[0].name, text);
    EXPECT_EQ(profiles[0].app, text);
    ASSERT_TRUE(db().renameProfile(profile, text + text));
    QString read;
    ASSERT_TRUE(db().getProfileName(profile, read));
    EXPECT_EQ(read, text + text);

    ASSERT_TRUE(db().setSetting(profile, u"version", text));
    ASSERT_TRUE(db().getSetting(profile, u"version", read));
    EXPECT_EQ(read, text);

    ButtonBinding binding;
    binding.profile = profile;
    binding.keyCode = 2;
    binding.macroValue = 1;
    binding.layoutDesc = text;
    binding.macroDesc = text;
    ASSERT_GT(db().saveBinding(binding), 0);
    ASSERT_TRUE(db().getBinding(profile, 2, binding));
    EXPECT_EQ(binding.layoutDesc, text);
    EXPECT_EQ(binding.macroDesc, text);

    const int macro = db().createMacro(text);
    ASSERT_GT(macro, 0);
    MacroDefinition definition;
    ASSERT_TRUE(db().getMacro(macro, definition));
    EXPECT_EQ(definition.name, text);
    MacroEvent event;
    event.macroId = macro;
    event.desc = text;
    ASSERT_TRUE(db().insertMacroEvents({event}));
    std::vector<MacroEvent> events;
    ASSERT_EQ(db().listMacroEvents(macro, events), 1);
    EXPECT_EQ(events[0].desc, text);

    LightEffect light;
    light.profile = profile;
    light.mode = 1;
    light.name = text;
    ASSERT_GT(db().insertLight(light), 0);
    ASSERT_TRUE(db().getLight(profile, 1, light));
    EXPECT_EQ(light.name, text);

    // Stored as UTF-8 in the file itself.
    EXPECT_EQ(readColumn(dbPath(), "SELECT name FROM t_macro_data"), QStringList{text});
    EXPECT_EQ(readInt(dbPath(), "SELECT count(*) FROM t_profile_data"), 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextRoundTrip, ::testing::ValuesIn(kTexts),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace corvane::store::test
