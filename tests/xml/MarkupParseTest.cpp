#include "xml/MarkupDocument.h"

#include <gtest/gtest.h>

#include <ostream>

namespace corvane::xml {
namespace {

struct IllFormedCase {
    const char* label;
    const char* text;
    const char* record; // the record the result must hold
};

// Names the case in test output by its label, not by its bytes.
void PrintTo(const IllFormedCase& c, std::ostream* os) {
    *os << c.label;
}

class MarkupIllFormed : public ::testing::TestWithParam<IllFormedCase> {};

TEST_P(MarkupIllFormed, IsReportedAndRejected) {
    const IllFormedCase& c = GetParam();
    MarkupDocument doc;
    EXPECT_FALSE(doc.setDoc(QString::fromUtf8(c.text)));
    EXPECT_FALSE(doc.isWellFormed());
    EXPECT_TRUE(doc.result().contains(QString::fromUtf8(c.record)))
        << "result: " << doc.result().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Diagnostics, MarkupIllFormed,
    ::testing::Values(
        IllFormedCase{"Empty", "", "<no_root_element/>"},
        IllFormedCase{"TextOnly", "just text", "<no_root_element/>"},
        IllFormedCase{"TwoRoots", "<a/>\r\n<b/>", "<root_has_sibling/>"},
        IllFormedCase{"LoneEndTag", "<a></b></a>", "<lone_end_tag tagname=\"b\" offset=\"3\"/>"},
        IllFormedCase{"UnendedInner", "<a><b></a>",
                      "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"6\"/>"},
        IllFormedCase{"UnendedAtEnd", "<a><b/>",
                      "<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"7\"/>"},
        IllFormedCase{"UnterminatedStartTag", "<a><b x='1'",
                      "<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"},
        IllFormedCase{"UnterminatedQuote", "<a><b x='1></b></a>",
                      "<unterminated_tag_syntax type=\"start_tag\" offset=\"3\"/>"},
        IllFormedCase{"StartTagCutByTag", "<a <b/></a>",
                      "<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/>"},
        IllFormedCase{"UnterminatedEndTag", "<a></a",
                      "<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"},
        IllFormedCase{"UnterminatedComment", "<a/><!-- x",
                      "<unterminated_tag_syntax type=\"comment\" offset=\"4\"/>"},
        IllFormedCase{"UnterminatedCData", "<a><![CDATA[x</a>",
                      "<unterminated_tag_syntax type=\"cdata_section\" offset=\"3\"/>"},
        IllFormedCase{"UnterminatedInstruction", "<?xml version",
                      "<unterminated_tag_syntax type=\"processing_instruction\" offset=\"0\"/>"},
        IllFormedCase{"UnterminatedDoctype", "<!DOCTYPE a [ <!ELEMENT a ANY>",
                      "<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/>"},
        IllFormedCase{"LessThanAtEnd", "<a/><",
                      "<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
        IllFormedCase{"FirstTag", "<a>< b</a>", "<first_tag_syntax offset=\"3\"/>"},
        IllFormedCase{"Doctype", "<!DOCTYP a><a/>", "<doctype_tag_syntax offset=\"0\"/>"},
        IllFormedCase{"DoctypeSubsetInstructionUnclosed", "<!DOCTYPE a [ <?pi ]><a/>",
                      "<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/>"},
        IllFormedCase{"DoctypeAfterSubset", "<!DOCTYPE a [] x><a/>",
                      "<doctype_tag_syntax offset=\"0\"/>"},
        IllFormedCase{"Exclamation", "<!FOO><a/>", "<exclamation_tag_syntax offset=\"0\"/>"},
        IllFormedCase{"CommentSingleDash", "<!-x><a/>", "<comment_tag_syntax offset=\"0\"/>"},
        IllFormedCase{"CommentDoubleDash", "<a><!-- a -- b --></a>",
                      "<comment_tag_syntax offset=\"3\"/>"},
        IllFormedCase{"CData", "<a><![CDAT[x]]></a>", "<cdata_section_syntax offset=\"3\"/>"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MarkupParse, AcceptsEveryNodeKind) {
    const QString text = QStringLiteral(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE r [\n<!ELEMENT r ANY>\n<!ATTLIST r v CDATA \"a>b]\">\n<!-- ] > -->\n]>\n"
        "<!-- before -->\n"
        "<r v=\"x>y\" w='<'><!-- <c/> --><![CDATA[ <d/> ]]>text > &amp; <?pi <e/> ?>"
        "<f/></r>\n trailing text");
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDoc(text)) << doc.result().toStdString();
    EXPECT_TRUE(doc.result().isEmpty());
    ASSERT_TRUE(doc.findElem("r"));
    EXPECT_EQ(doc.getAttrib("v"), "x>y");
    EXPECT_EQ(doc.getAttrib("w"), "<");
    ASSERT_TRUE(doc.intoElem());
    // Markup inside comments, CDATA sections and instructions makes no element.
    ASSERT_TRUE(doc.findElem());
    EXPECT_TRUE(doc.setAttrib("seen", 1));
    EXPECT_TRUE(doc.text().contains("<f seen=\"1\"/>"));
    EXPECT_FALSE(doc.findElem());
}

// Document types whose literals, instructions and comments hold the characters
// that would end the internal subset or the declaration outside them.
class MarkupDocumentType : public ::testing::TestWithParam<const char*> {};

TEST_P(MarkupDocumentType, IsDelimitedAsXmlDefinesIt) {
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDoc(QString::fromUtf8(GetParam()) + QStringLiteral("<r v=\"1\"/>")))
        << doc.result().toStdString();
    EXPECT_TRUE(doc.result().isEmpty()) << doc.result().toStdString();
    ASSERT_TRUE(doc.findElem("r"));
    EXPECT_EQ(doc.getAttrib("v"), "1");
}

INSTANTIATE_TEST_SUITE_P(Subsets, MarkupDocumentType,
                         ::testing::Values("<!DOCTYPE r [<?pi a ] b?>]>",
                                           "<!DOCTYPE r [<?pi don't?>]>",
                                           "<!DOCTYPE r [<?pi x > y?><!ELEMENT r ANY>]>",
                                           "<!DOCTYPE r [<!-- it's ] > -->]>",
                                           "<!DOCTYPE r [<!ENTITY e \"it's ]> <?\">]>",
                                           "<!DOCTYPE r [<!ATTLIST r v CDATA '\"]'>]>",
                                           "<!DOCTYPE r SYSTEM \"a]>[b.dtd\">",
                                           "<!DOCTYPE r PUBLIC \"-//x//y\" 'z.dtd' [ %pe; ]  >\n",
                                           "<!DOCTYPE r>"));

TEST(MarkupParse, ElementsAcrossSeveralIndexPages) {
    constexpr int kChildren = 70000; // more than one page of 65,536 entries
    QString text = QStringLiteral("<r>");
    for (int i = 0; i < kChildren; ++i)
        text += QStringLiteral("<i n=\"%1\"/>").arg(i);
    text += QStringLiteral("</r>");
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDoc(text));
    ASSERT_TRUE(doc.findElem("r") && doc.intoElem());
    int count = 0;
    while (doc.findElem("i")) {
        ASSERT_EQ(doc.getAttrib("n"), QString::number(count));
        ++count;
    }
    EXPECT_EQ(count, kChildren);
}

TEST(MarkupParse, DeepNestingNeedsNoRecursion) {
    constexpr int kDepth = 100000;
    const QString open = QStringLiteral("<d>").repeated(kDepth);
    const QString close = QStringLiteral("</d>").repeated(kDepth);
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDoc(open + close));
    int depth = 0;
    while (doc.findElem("d") && doc.intoElem())
        ++depth;
    EXPECT_EQ(depth, kDepth);
    // Edits at the bottom move the end tags of every ancestor.
    ASSERT_TRUE(doc.addElem("leaf"));
    ASSERT_TRUE(doc.setAttrib("v", "deep"));
    int up = 0;
    while (doc.outOfElem())
        ++up;
    EXPECT_EQ(up, kDepth);
    MarkupDocument reread;
    EXPECT_TRUE(reread.setDoc(doc.text()));

    // Never closed, or closed by end tags that match nothing: still a clean false.
    EXPECT_FALSE(doc.setDoc(open));
    EXPECT_FALSE(doc.setDoc(open + QStringLiteral("</x>").repeated(kDepth)));
    EXPECT_LT(doc.result().size(), 1100);
}

TEST(MarkupParse, ResultStopsGrowingPastAThousandCharacters) {
    MarkupDocument doc;
    EXPECT_FALSE(doc.setDoc(QStringLiteral("<a>") + QStringLiteral("</b>").repeated(1000) +
                            QStringLiteral("</a>")));
    EXPECT_GT(doc.result().size(), 999);
    EXPECT_LT(doc.result().size(), 1100);
    EXPECT_TRUE(doc.setDoc("<a/>"));
    EXPECT_TRUE(doc.result().isEmpty());
}

} // namespace
} // namespace corvane::xml
