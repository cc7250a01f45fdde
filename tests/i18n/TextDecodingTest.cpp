#include "i18n/TextDecoding.h"
#include "i18n/AnsiText.h"
#include "i18n/IniFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace corvane::i18n;
using corvane::i18n::testing::utf16LeWithMark;

namespace {

QString lanValue(const QByteArray& bytes, const char* key, const QByteArray& codeset = {}) {
    return IniFile::fromBytes(bytes, codeset).value(u"LAN", QString::fromLatin1(key));
}

TEST(TextDecoding, ReadsUtf16LittleEndianWithItsMark) {
    const QByteArray bytes =
        utf16LeWithMark(QStringLiteral("[LAN]\r\n1=  你好，世界  \r\n2=\"😀 quoted\"\r\n3=last"));
    EXPECT_EQ(lanValue(bytes, "1"), QStringLiteral("你好，世界"));
    EXPECT_EQ(lanValue(bytes, "2"), QStringLiteral("😀 quoted"));
    EXPECT_EQ(lanValue(bytes, "3"), u"last");
    // A file cut at an odd length loses only its last half character.
    EXPECT_EQ(lanValue(bytes + 'x', "3"), u"last");
    EXPECT_EQ(lanValue(bytes.chopped(1), "3"), u"las");
}

TEST(TextDecoding, ReplacesLoneSurrogatesInUtf16) {
    const QByteArray highThenLetter("\xFF\xFE\x00\xD8\x41\x00", 6);
    EXPECT_EQ(decodeIniBytes(highThenLetter, {}), QStringLiteral("\uFFFDA"));
    const QByteArray lowAtEnd("\xFF\xFE\x41\x00\x00\xDC", 6);
    EXPECT_EQ(decodeIniBytes(lowAtEnd, {}), QStringLiteral("A\uFFFD"));
    const QByteArray pair("\xFF\xFE\x3D\xD8\x00\xDE", 6);
    EXPECT_EQ(decodeIniBytes(pair, {}), QString::fromUcs4(U"\U0001F600"));
}

TEST(TextDecoding, ReadsUtf16BigEndianWithItsMark) {
    QByteArray bytes("\xFE\xFF", 2);
    for (QChar c : QStringLiteral("[LAN]\n1=Grüße"))
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    EXPECT_EQ(lanValue(bytes, "1"), QStringLiteral("Grüße"));
}

TEST(TextDecoding, ReadsUtf8WithAndWithoutItsMark) {
    const QByteArray text = QStringLiteral("[LAN]\n1=简体中文\n2=Русский язык").toUtf8();
    for (const QByteArray& bytes : {text, QByteArray("\xEF\xBB\xBF") + text}) {
        EXPECT_EQ(lanValue(bytes, "1"), QStringLiteral("简体中文"));
        EXPECT_EQ(lanValue(bytes, "2"), QStringLiteral("Русский язык"));
    }
}

TEST(TextDecoding, ReadsLinesThatAreNotUtf8AsWindows1252WhenTheLocaleIsNotLegacy) {
    const QByteArray bytes = QByteArray("[LAN]\r\n1=Caf\xE9 cr\xE8me\r\n2=") +
                             QStringLiteral("中文 stays UTF-8").toUtf8() +
                             "\r\n3=\x80 \x81 \x9F \xFF\r\n4=\xC0\xAF overlong";
    EXPECT_EQ(lanValue(bytes, "1"), QStringLiteral("Café crème"));
    EXPECT_EQ(lanValue(bytes, "2"), QStringLiteral("中文 stays UTF-8"));
    EXPECT_EQ(lanValue(bytes, "3"), QStringLiteral("€ \u0081 Ÿ ÿ"));
    EXPECT_EQ(lanValue(bytes, "4"), QStringLiteral("À¯ overlong"));
}

TEST(TextDecoding, ReadsLegacyLinesInTheLocaleCharacterSet) {
    // "Привет" in ISO-8859-5 and "你好" in GB18030 (two bytes a character).
    const QByteArray cyrillic("[LAN]\n1=\xBF\xE0\xD8\xD2\xD5\xE2\n");
    EXPECT_EQ(lanValue(cyrillic, "1", "ISO-8859-5"), QStringLiteral("Привет"));
    const QByteArray chinese("[LAN]\n1=\xC4\xE3\xBA\xC3\n2=\x81\n");
    EXPECT_EQ(lanValue(chinese, "1", "GB18030"), QStringLiteral("你好"));
    // A byte that is no character in that set, or a set iconv does not know: Windows-1252.
    EXPECT_EQ(lanValue(chinese, "2", "GB18030"), QStringLiteral("\u0081"));
    EXPECT_EQ(lanValue(chinese, "1", "NO-SUCH-CHARSET"), QStringLiteral("ÄãºÃ"));
}

TEST(TextDecoding, RecognisesWellFormedUtf8Only) {
    const struct {
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {"plain ascii", true},
        {"\xE4\xBD\xA0", true},          // U+4F60
        {"\xF0\x9F\x98\x80", true},      // U+1F600
        {"\xF4\x8F\xBF\xBF", true},      // U+10FFFF
        {"\xC0\xAF", false},             // overlong '/'
        {"\xE0\x80\xAF", false},         // overlong
        {"\xF0\x80\x80\xAF", false},     // overlong
        {"\xED\xA0\x80", false},         // a surrogate
        {"\xF4\x90\x80\x80", false},     // above U+10FFFF
        {"\xE4\xBD", false},             // cut short
        {"\x80", false},                 // stray continuation byte
        {"\xE4\x41\xA0", false},         // continuation missing
        {"\xF8\x88\x80\x80\x80", false}, // five-byte form
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes.toHex().toStdString();
}

TEST(TextDecoding, UsesWindows1252ForUtf8AndAsciiLocales) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, locale) == nullptr)
            continue;
        EXPECT_EQ(ansiCodeset(), QByteArray()) << locale;
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

} // namespace
