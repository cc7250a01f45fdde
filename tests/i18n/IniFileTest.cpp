#include "i18n/IniFile.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <iterator>

using corvane::i18n::IniFile;

namespace {

// Written with '\n' line ends; the tests replace them with the other kinds.
const char* const kFixture = "; a comment line\n"
                             "orphan=before any section\n"
                             "[LAN]\n"
                             "1=Plain\n"
                             "  2  =  \t Padded with blanks \t\v\n"
                             "3=  \"  Quoted keeps inner blanks  \"  \n"
                             "4='Single quoted'\n"
                             "5=\"Mismatched'\n"
                             "6=\"\n"
                             "7=\"\"\n"
                             "8=a=b\n"
                             "9=value ; not a comment\n"
                             "10\n"
                             "Key=Mixed case key\n"
                             "11=First\n"
                             "11=Second\n"
                             ";12=Commented out\n"
                             "\t;13=Indented comment\n"
                             "20=\"He said \"hi\"\"\n"
                             "[ other ]\n"
                             "1=Other section\n"
                             "[lan]\n"
                             "14=Repeated section is not read\n"
                             "[Missing bracket\n"
                             "1=Section without closing bracket\n"
                             "[]\n"
                             "1=Nameless section\n"
                             "[Tail] trailing text\n"
                             "1=No newline at the end";

struct Lookup {
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;
};

const Lookup kLookups[] = {
    {u"LAN", u"1", u"Plain"},
    {u"lan", u"1", u"Plain"},
    {u"LAN", u"2", u"Padded with blanks"},
    {u"LAN", u"3", u"  Quoted keeps inner blanks  "},
    {u"LAN", u"4", u"Single quoted"},
    {u"LAN", u"5", u"\"Mismatched'"},
    {u"LAN", u"6", u"\""},
    {u"LAN", u"7", u""},
    {u"LAN", u"8", u"a=b"},
    {u"LAN", u"9", u"value ; not a comment"},
    {u"LAN", u"10", u""},
    {u"LAN", u"KEY", u"Mixed case key"},
    {u"LAN", u"11", u"First"},
    {u"LAN", u"12", u""},
    {u"LAN", u";12", u""},
    {u"LAN", u"13", u""},
    {u"LAN", u"20", u"He said \"hi\""},
    {u"LAN", u"14", u""},
    {u"LAN", u"0", u""},
    {u"LAN", u"orphan", u""},
    {u"OTHER", u"1", u"Other section"},
    {u"Missing bracket", u"1", u"Section without closing bracket"},
    {u"", u"1", u"Nameless section"},
    {u"", u"orphan", u""},
    {u"tail", u"1", u"No newline at the end"},
    {u"Absent", u"1", u""},
};

TEST(IniFile, AnswersLookupsLikeTheProfileReaderForEveryKindOfLineEnd) {
    for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
        const QString text =
            QString::fromUtf8(kFixture).replace(QChar(u'\n'), QString::fromUtf8(lineEnd));
        const IniFile file = IniFile::parse(text);
        for (const Lookup& lookup : kLookups) {
            EXPECT_EQ(file.value(QStringView(lookup.section), QStringView(lookup.key)),
                      QStringView(lookup.expected))
                << "section [" << QStringView(lookup.section).toString().toStdString() << "] key "
                << QStringView(lookup.key).toString().toStdString() << " line end "
                << (lineEnd[0] == '\r' ? (lineEnd[1] ? "CRLF" : "CR") : "LF");
        }
    }
}

TEST(IniFile, CutsValuesTo259UnitsWithoutSplittingACharacter) {
    const QString face = QString::fromUcs4(U"\U0001F600"); // two UTF-16 units
    const QString quote = QStringLiteral("\"");
    const struct {
        QString value;
        QString expected;
    } cases[] = {
        {QString(300, u'x'), QString(259, u'x')},
        {QString(259, u'y'), QString(259, u'y')},
        {quote + QString(259, u'q') + quote, QString(259, u'q')},
        {quote + QString(300, u'q') + quote, QString(259, u'q')},
        {QString(258, u'z') + face, QString(258, u'z')},
        {QString(257, u'z') + face + QStringLiteral("tail"), QString(257, u'z') + face},
    };
    for (const auto& c : cases) {
        const IniFile file = IniFile::parse(QStringLiteral("[LAN]\n1=") + c.value);
        EXPECT_EQ(file.value(u"LAN", u"1"), c.expected)
            << "value of " << c.value.size() << " units";
    }
}

TEST(IniFile, NulEndsTheLineText) {
    static constexpr char16_t kText[] = u"[LAN]\n1=ab\0cd  \n2\0=hidden\n3=next";
    const QString text = QString::fromUtf16(kText, std::size(kText) - 1);
    const IniFile file = IniFile::parse(text);
    EXPECT_EQ(file.value(u"LAN", u"1"), u"ab");
    EXPECT_EQ(file.value(u"LAN", u"2"), u"");
    EXPECT_EQ(file.value(u"LAN", u"3"), u"next");
}

TEST(IniFile, SurvivesHugeLinesAndKeysAndKeepsLaterLines) {
    QString text = QStringLiteral("[LAN]\n1=") + QString(1 << 20, u'v') + QChar(u'\n');
    text += QString(1 << 20, u'k') + QStringLiteral("=huge key\n");
    text += QStringLiteral("2=after\n");
    const IniFile file = IniFile::parse(text);
    EXPECT_EQ(file.value(u"LAN", u"1"), QString(259, u'v'));
    EXPECT_EQ(file.value(u"LAN", u"2"), u"after");
    EXPECT_EQ(file.value(u"LAN", QString(1 << 20, u'K')), u"huge key");
}

TEST(IniFile, EmptyOrGarbageTextHasNoValues) {
    const QStringList texts = {QString(), QStringLiteral("\n\n\r\r"), QStringLiteral("[["),
                               QStringLiteral("]=["), QStringLiteral("=\n==")};
    for (const QString& text : texts)
        EXPECT_EQ(IniFile::parse(text).value(u"LAN", u"1"), u"") << text.toStdString();
    EXPECT_EQ(IniFile().value(u"", u""), u"");
}

} // namespace
