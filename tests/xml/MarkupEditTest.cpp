#include "xml/MarkupDocument.h"

#include <gtest/gtest.h>

#include <ostream>

namespace corvane::xml {
namespace {

struct SetAttribCase {
    const char* label;
    const char* before;
    const char* name;
    const char* value;
    const char* after;
};

// Names the case in test output by its label, not by its bytes.
void PrintTo(const SetAttribCase& c, std::ostream* os) {
    *os << c.label;
}

class MarkupSetAttrib : public ::testing::TestWithParam<SetAttribCase> {};

TEST_P(MarkupSetAttrib, RewritesTheStartTag) {
    const SetAttribCase& c = GetParam();
    MarkupDocument doc(QString::fromUtf8(c.before));
    ASSERT_TRUE(doc.findElem("a"));
    ASSERT_TRUE(doc.setAttrib(c.name, QString::fromUtf8(c.value)));
    EXPECT_EQ(doc.text(), QString::fromUtf8(c.after));
    EXPECT_EQ(doc.getAttrib(c.name), QString::fromUtf8(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, MarkupSetAttrib,
    ::testing::Values(
        SetAttribCase{"EmptyElement", "<a/>", "x", "1", "<a x=\"1\"/>"},
        SetAttribCase{"StartTag", "<a></a>", "x", "1", "<a x=\"1\"></a>"},
        SetAttribCase{"AfterLastAttribute", "<a y=\"2\"  />", "x", "1", "<a y=\"2\" x=\"1\"  />"},
        SetAttribCase{"ReplacesSingleQuoted", "<a x='old'/>", "x", "new", "<a x=\"new\"/>"},
        SetAttribCase{"ReplacesUnquoted", "<a x=old y=\"2\"/>", "x", "new",
                      "<a x=\"new\" y=\"2\"/>"},
        SetAttribCase{"GivesValueToBareName", "<a flag/>", "flag", "v", "<a flag=\"v\"/>"},
        SetAttribCase{"EscapesMarkup", "<a/>", "x", "<&>'\"",
                      "<a x=\"&lt;&amp;&gt;&apos;&quot;\"/>"},
        SetAttribCase{"EmptyValue", "<a x=\"1\"/>", "x", "", "<a x=\"\"/>"},
        SetAttribCase{"AfterAnEqualsSignWithoutValue", "<a v=></a>", "x", "1",
                      "<a v=\"\" x=\"1\"></a>"},
        SetAttribCase{"AfterAnEqualsSignBeforeTheSlash", "<a v= />", "x", "1",
                      "<a v= \"\" x=\"1\"/>"},
        SetAttribCase{"AfterAnUnquotedValueEndingInEquals", "<a v=b= />", "x", "1",
                      "<a v=b= x=\"1\" />"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MarkupEdit, SetAttribMovesTheElementsThatFollow) {
    MarkupDocument doc("<r><a v='1'/><b v='2'><c v='3'/></b><d v='4'/></r>");
    ASSERT_TRUE(doc.findElem("r") && doc.intoElem() && doc.findElem("a"));
    ASSERT_TRUE(doc.setAttrib("v", QStringLiteral("a much longer value")));
    ASSERT_TRUE(doc.findElem("b"));
    EXPECT_EQ(doc.getAttrib("v"), "2");
    ASSERT_TRUE(doc.setAttrib("w", 22)); // grows a parent: its child moves too
    ASSERT_TRUE(doc.intoElem() && doc.findElem("c"));
    EXPECT_EQ(doc.getAttrib("v"), "3");
    ASSERT_TRUE(doc.setAttrib("v", "")); // shrinks
    ASSERT_TRUE(doc.outOfElem() && doc.findElem("d"));
    EXPECT_EQ(doc.getAttrib("v"), "4");
    EXPECT_EQ(doc.text(), "<r><a v=\"a much longer value\"/><b v='2' w=\"22\"><c v=\"\"/></b>"
                          "<d v='4'/></r>");
}

TEST(MarkupEdit, AddElemExpandsAnEmptyParent) {
    MarkupDocument doc("<r a=\"1\"/>");
    ASSERT_TRUE(doc.findElem("r"));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.addElem("x"));
    EXPECT_EQ(doc.text(), "<r a=\"1\">\r\n<x/>\r\n</r>");
    ASSERT_TRUE(doc.addElem("y")); // after the current element, on its own line
    EXPECT_EQ(doc.text(), "<r a=\"1\">\r\n<x/>\r\n<y/>\r\n</r>");
    EXPECT_TRUE(doc.setAttrib("v", 7));
    ASSERT_TRUE(doc.outOfElem());
    EXPECT_EQ(doc.getAttrib("a"), "1");

    MarkupDocument reread;
    ASSERT_TRUE(reread.setDoc(doc.text()));
    ASSERT_TRUE(reread.findElem("r") && reread.intoElem() && reread.findElem("x"));
    ASSERT_TRUE(reread.findElem("y"));
    EXPECT_EQ(reread.getAttrib("v"), "7");
}

TEST(MarkupEdit, AddElemOpensAnEmptyParentWhoseLastAttributeEndsInASlash) {
    MarkupDocument doc("<r b//>");
    ASSERT_TRUE(doc.findElem("r") && doc.intoElem());
    ASSERT_TRUE(doc.addElem("x"));
    EXPECT_EQ(doc.text(), "<r b/ >\r\n<x/>\r\n</r>");
    MarkupDocument reread;
    EXPECT_TRUE(reread.setDoc(doc.text())) << "still one well-formed root";
    ASSERT_TRUE(reread.findElem("r") && reread.intoElem());
    EXPECT_TRUE(reread.findElem("x"));
}

TEST(MarkupEdit, AddElemInsertsAfterTheCurrentElement) {
    MarkupDocument doc("<r>\r\n<a/>\r\n<c/>\r\n</r>");
    ASSERT_TRUE(doc.findElem("r") && doc.intoElem() && doc.findElem("a"));
    ASSERT_TRUE(doc.addElem("b"));
    EXPECT_EQ(doc.text(), "<r>\r\n<a/>\r\n<b/>\r\n<c/>\r\n</r>");
    EXPECT_TRUE(doc.findElem("c")); // the new element sits between a and c
    EXPECT_FALSE(doc.findElem("b"));
}

TEST(MarkupEdit, AddElemAtTheTopLevelStartsANewLine) {
    MarkupDocument doc("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    ASSERT_TRUE(doc.addElem("root"));
    EXPECT_EQ(doc.text(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root/>\r\n");
    EXPECT_TRUE(doc.getAttrib("v").isEmpty());

    MarkupDocument empty;
    ASSERT_TRUE(empty.addElem("root"));
    EXPECT_EQ(empty.text(), "<root/>\r\n");
}

TEST(MarkupEdit, RejectsNamesThatWouldBreakTheMarkup) {
    MarkupDocument doc("<r/>");
    ASSERT_TRUE(doc.findElem("r"));
    for (const char* bad : {"", "a b", "1a", "a>", "a/", "a\"", "a&b", "-a"}) {
        EXPECT_FALSE(doc.setAttrib(bad, "1")) << bad;
        EXPECT_FALSE(doc.addElem(bad)) << bad;
    }
    EXPECT_EQ(doc.text(), "<r/>");
}

} // namespace
} // namespace corvane::xml
