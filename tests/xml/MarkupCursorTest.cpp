#include "xml/MarkupDocument.h"

#include <gtest/gtest.h>

namespace corvane::xml {
namespace {

TEST(MarkupCursor, FindElemOnlySearchesForward) {
    MarkupDocument doc("<r><a/><b/><c/></r>");
    ASSERT_TRUE(doc.findElem("r"));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.findElem("b"));
    EXPECT_FALSE(doc.findElem("a")); // only before the current element
    EXPECT_FALSE(doc.findElem("B")); // names compare exactly
    ASSERT_TRUE(doc.findElem("c"));  // the failed searches left the cursor on b
    EXPECT_FALSE(doc.findElem());
}

TEST(MarkupCursor, EmptyNameMatchesAnyElement) {
    MarkupDocument doc("<r><a/>text<b><x/></b><!-- c --><c/></r>");
    ASSERT_TRUE(doc.findElem() && doc.intoElem());
    int count = 0;
    while (doc.findElem())
        ++count;
    EXPECT_EQ(count, 3);
}

TEST(MarkupCursor, OutOfElemRemembersTheChildForIntoElem) {
    MarkupDocument doc("<r><a><x/><y/><z/></a><b><w/></b></r>");
    ASSERT_TRUE(doc.findElem("r") && doc.intoElem() && doc.findElem("a") && doc.intoElem());
    ASSERT_TRUE(doc.findElem("y"));
    ASSERT_TRUE(doc.outOfElem()); // back on a
    ASSERT_TRUE(doc.intoElem());  // back on y
    EXPECT_FALSE(doc.findElem("x"));
    EXPECT_TRUE(doc.findElem("z"));

    // Any other move forgets the child position.
    ASSERT_TRUE(doc.outOfElem());
    ASSERT_TRUE(doc.findElem("b"));
    ASSERT_TRUE(doc.intoElem());
    EXPECT_TRUE(doc.findElem("w"));
}

TEST(MarkupCursor, MovesFailAtTheEdges) {
    MarkupDocument doc("<r/>");
    EXPECT_FALSE(doc.intoElem());  // no current element
    EXPECT_FALSE(doc.outOfElem()); // already at the top
    EXPECT_EQ(doc.getAttrib("v"), QString());
    EXPECT_FALSE(doc.setAttrib("v", "1"));
    ASSERT_TRUE(doc.findElem("r"));
    ASSERT_TRUE(doc.intoElem());
    EXPECT_FALSE(doc.findElem());
    EXPECT_TRUE(doc.outOfElem());
    EXPECT_FALSE(doc.outOfElem());
}

TEST(MarkupCursor, AttributeForms) {
    MarkupDocument doc("<a one='1' two = \"2\" three=3 flag four=\"&lt;4&gt;\" one=\"dup\"/>");
    ASSERT_TRUE(doc.findElem("a"));
    EXPECT_EQ(doc.getAttrib("one"), "1");
    EXPECT_EQ(doc.getAttrib("two"), "2");
    EXPECT_EQ(doc.getAttrib("three"), "3");
    EXPECT_EQ(doc.getAttrib("flag"), "");
    EXPECT_EQ(doc.getAttrib("four"), "<4>");
    EXPECT_EQ(doc.getAttrib("ONE"), "");
    EXPECT_EQ(doc.getAttrib("missing"), "");
}

TEST(MarkupCursor, NamesIgnoreCaseWhenAsked) {
    MarkupDocument doc;
    doc.setDocumentFlags(docflag::IgnoreNameCase);
    ASSERT_TRUE(doc.setDoc("<Root Value='1'><Item/></ROOT>"));
    ASSERT_TRUE(doc.findElem("root"));
    EXPECT_EQ(doc.getAttrib("VALUE"), "1");
    ASSERT_TRUE(doc.intoElem());
    EXPECT_TRUE(doc.findElem("ITEM"));
}

} // namespace
} // namespace corvane::xml
