#include "xml/MarkupEscape.h"
#include "xml/EncodingTable.h"
#include "xml/EntityTable.h"
#include "xml/MarkupDocument.h"

#include <gtest/gtest.h>
#include <ostream>

namespace corvane::xml {
namespace {

struct UnescapeCase {
    const char* raw;
    const char* read; // UTF-8
};

// Names the case in test output by its label, not by its bytes.
void PrintTo(const UnescapeCase& c, std::ostream* os) {
    *os << c.raw;
}

class MarkupUnescape : public ::testing::TestWithParam<UnescapeCase> {};

TEST_P(MarkupUnescape, ResolvesWhatItCanAndKeepsTheRest) {
    EXPECT_EQ(unescapeMarkup(QString::fromUtf8(GetParam().raw)),
              QString::fromUtf8(GetParam().read));
}

INSTANTIATE_TEST_SUITE_P(
    References, MarkupUnescape,
    ::testing::Values(UnescapeCase{"&#x4E2D;&#X4e2d;&#20013;&amp;", "中中中&"},
                      UnescapeCase{"&lt;&gt;&quot;&apos;", "<>\"'"},
                      UnescapeCase{"&#128512;&#x1F600;", "😀😀"},
                      // U+FEFF is a character like any other, not a byte-order mark.
                      UnescapeCase{"a&#xFEFF;b&#65279;", "a\uFEFFb\uFEFF"},
                      UnescapeCase{"&eacute;&Eacute;&thetasym;&euro;&nbsp;", "éÉϑ€\u00A0"},
                      // Exact names first; other case variants take the entry listed first.
                      UnescapeCase{"&aacute;&Aacute;&AACUTE;&AMP;&Lt;", "áÁÁ&<"},
                      UnescapeCase{"&dagger;&Dagger;&DAGGER;&rarr;&rArr;", "†‡†→⇒"},
                      UnescapeCase{"&nosuch;", "&nosuch;"}, UnescapeCase{"&amp", "&amp"},
                      UnescapeCase{"a & b", "a & b"},
                      UnescapeCase{"&;&#;&#x;&#0;&#x110000;&#xD800;&#12a;",
                                   "&;&#;&#x;&#0;&#x110000;&#xD800;&#12a;"},
                      UnescapeCase{"&verylongname;", "&verylongname;"},
                      UnescapeCase{"&thetasym;x", "ϑx"}, UnescapeCase{"&é;&amp;", "&é;&"},
                      UnescapeCase{"&&amp;;", "&&;"}));

TEST(MarkupEscape, AttributeAndTextForms) {
    EXPECT_EQ(escapeMarkup(u"<a & 'b' \"c\">"), "&lt;a &amp; &apos;b&apos; &quot;c&quot;&gt;");
    EXPECT_EQ(escapeMarkup(u"<a & 'b' \"c\">", EscapeMode::ElementText),
              "&lt;a &amp; 'b' \"c\"&gt;");
    const QString awkward = QString::fromUtf8("<&>'\" &amp; 中 \r\n");
    EXPECT_EQ(unescapeMarkup(escapeMarkup(awkward)), awkward);
}

TEST(MarkupEscape, EntityTableHoldsXmlAndHtmlNames) {
    EXPECT_EQ(entityCount(), 253);
    EXPECT_EQ(lookupEntity(u"apos"), U'\'');
    EXPECT_EQ(lookupEntity(u"yuml"), U'\u00FF');
    EXPECT_EQ(lookupEntity(u"Yuml"), U'\u0178');
    EXPECT_EQ(lookupEntity(u"YUML"), U'\u00FF'); // yuml is listed before Yuml
    EXPECT_EQ(lookupEntity(u"diams"), U'\u2666');
    EXPECT_EQ(lookupEntity(u"nosuch"), 0u);
}

struct EncodingCase {
    const char* name;
    int codePage;
};

// Names the case in test output by its encoding name, not by its bytes.
void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << '"' << c.name << "\" -> " << c.codePage;
}

class MarkupEncodingName : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(MarkupEncodingName, GivesItsCodePage) {
    EXPECT_EQ(codePageForEncoding(QString::fromUtf8(GetParam().name)), GetParam().codePage);
}

INSTANTIATE_TEST_SUITE_P(
    Names, MarkupEncodingName,
    ::testing::Values(EncodingCase{"utf-8", 65001}, EncodingCase{"UTF8", 65001},
                      EncodingCase{"unicode-1-1-utf-8", 65001}, EncodingCase{"utf-16", 1200},
                      EncodingCase{"UTF-16LE", 1200}, EncodingCase{"ucs-2", 1200},
                      EncodingCase{"unicode", 1200}, EncodingCase{"utf-16be", 1201},
                      EncodingCase{"gb2312", 936}, EncodingCase{"GBK", 936},
                      EncodingCase{"cp936", 936}, EncodingCase{"big5", 950},
                      EncodingCase{"Shift_JIS", 932}, EncodingCase{"iso-8859-1", 28591},
                      EncodingCase{"windows-1252", 1252}, EncodingCase{"koi8-r", 20866},
                      EncodingCase{"UTF-32", 12000}, EncodingCase{"utf-32be", 12001},
                      EncodingCase{"UTF-32-anything", 12000}, EncodingCase{"no-such-set", 0},
                      EncodingCase{"", 0}, EncodingCase{"ütf-8", 0}));

TEST(MarkupEncodingTable, CoversTheCodePages) {
    EXPECT_EQ(encodingNameCount(), 365);
    EXPECT_EQ(encodingCodePageCount(), 111);
    EXPECT_EQ(codePageForEncoding(QString(99, u'x')), 0);
    EXPECT_EQ(codePageForEncoding(QStringLiteral("utf-8") + QString(95, u' ')), 0);
}

TEST(MarkupEscape, AttributeRoundTripsThroughADocument) {
    const QString value = QStringLiteral("<&>'\"");
    MarkupDocument doc("<a/>");
    ASSERT_TRUE(doc.findElem("a"));
    ASSERT_TRUE(doc.setAttrib("v", value));
    EXPECT_EQ(doc.text(), "<a v=\"&lt;&amp;&gt;&apos;&quot;\"/>");
    MarkupDocument back(doc.text());
    ASSERT_TRUE(back.findElem("a"));
    EXPECT_EQ(back.getAttrib("v"), value);
}

} // namespace
} // namespace corvane::xml
