#include "i18n/LanguageTexts.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

using namespace corvane::i18n;
using corvane::i18n::testing::utf16LeWithMark;
using corvane::i18n::testing::writeFile;

namespace {

TEST(LanguageFile, IsTheLcidFileInTheLanguageFolder) {
    EXPECT_EQ(languageFile(QStringLiteral("/opt/corvane/"), 1033),
              u"/opt/corvane/language/1033.lan");
    EXPECT_EQ(languageFile(QStringLiteral("/opt/corvane"), 2052),
              u"/opt/corvane/language/2052.lan");
    EXPECT_EQ(languageFile(QString(), 1049), u"language/1049.lan");
}

class LanguageTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("language")));
        ASSERT_TRUE(writeFile(dir_.filePath(QStringLiteral("language/1033.lan")),
                              "[LAN]\r\n1=Corvane\r\n11=Settings\r\n"));
        ASSERT_TRUE(
            writeFile(dir_.filePath(QStringLiteral("language/2052.lan")),
                      utf16LeWithMark(QStringLiteral("[LAN]\r\n1=Corvane\r\n11=设置\r\n"))));
        setProgramFolder(dir_.path()); // no trailing '/', as a user may configure it
        setCurrentLcid(1033);
    }
    void TearDown() override {
        setProgramFolder(QString());
        setCurrentLcid(kDefaultLcid);
    }

    QTemporaryDir dir_;
};

TEST_F(LanguageTextsTest, LooksUpTheCurrentLanguageAndFollowsItsChanges) {
    EXPECT_EQ(programFolder(), dir_.path());
    EXPECT_EQ(languageFile(), dir_.path() + QStringLiteral("/language/1033.lan"));
    EXPECT_EQ(lookupText(kTextSection, 11), u"Settings");
    EXPECT_EQ(lookupText(kTextSection, 0), u"");
    EXPECT_EQ(lookupText(kTextSection, 999), u"");

    setCurrentLcid(2052);
    EXPECT_EQ(currentLcid(), 2052);
    EXPECT_EQ(lookupText(kTextSection, 11), QStringLiteral("设置"));

    // A language without a file empties every text; one with a file brings them back.
    setCurrentLcid(1049);
    EXPECT_EQ(lookupText(kTextSection, 1), u"");
    EXPECT_EQ(lookupText(kTextSection, 11), u"");
    setCurrentLcid(1033);
    EXPECT_EQ(lookupText(kTextSection, 1), u"Corvane");
}

TEST_F(LanguageTextsTest, SeesAnEditedLanguageFileAtTheNextLookup) {
    EXPECT_EQ(lookupText(kTextSection, 11), u"Settings");
    ASSERT_TRUE(writeFile(dir_.filePath(QStringLiteral("language/1033.lan")),
                          "[LAN]\r\n1=Corvane\r\n11=Options!\r\n"));
    EXPECT_EQ(lookupText(kTextSection, 11), u"Options!");
}

TEST_F(LanguageTextsTest, ServesLookupsFromSeveralThreadsWhileTheLanguageChanges) {
    // The worker thread reads texts while the UI thread switches the language.
    constexpr int kReaders = 2;
    std::atomic<int> finished = 0;
    std::atomic<int> wrong = 0;
    std::vector<std::thread> readers;
    for (int t = 0; t < kReaders; ++t) {
        readers.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                const QString text = lookupText(kTextSection, 11);
                if (text != u"Settings" && text != QStringLiteral("设置"))
                    ++wrong;
            }
            ++finished;
        });
    }
    for (int round = 0; finished < kReaders; ++round)
        setCurrentLcid(round % 2 == 0 ? 2052 : 1033);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
