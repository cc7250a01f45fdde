#include "catalog/TextNumbers.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvane::catalog {
namespace {

struct NumberCase {
    const char16_t* text;
    int expected;
};

TEST(TextNumbers, LeadingIntReadsTheLeadingDigits) {
    const NumberCase cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u"42", 42},
        {u"12abc", 12},
        {u"  7", 7},
        {u"-5", -5},
        {u"+9", 9},
        {u"3.9", 3},
        {u"99999999999", INT_MAX},
        {u"-99999999999", INT_MIN},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(leadingInt(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(TextNumbers, LeadingHexAcceptsAnOptionalPrefix) {
    const NumberCase cases[] = {
        {u"0x1209", 0x1209},
        {u"1209", 0x1209},
        {u"0XC0a1", 0xC0A1},
        {u"c0a1", 0xC0A1},
        {u"", 0},
        {u"0x", 0},
        {u"zz", 0},
        {u"12G4", 0x12},
        {u" 0x10", 0x10},
        {u"FFFFFFFFFFFF", INT_MAX},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(leadingHex(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(TextNumbers, OnlyTheNumberOneSetsAFlag) {
    EXPECT_TRUE(flagOf(u"1"));
    EXPECT_TRUE(flagOf(u"01"));
    EXPECT_FALSE(flagOf(u""));
    EXPECT_FALSE(flagOf(u"0"));
    EXPECT_FALSE(flagOf(u"2"));
    EXPECT_FALSE(flagOf(u"yes"));
    EXPECT_FALSE(flagOf(u"11"));
}

TEST(TextNumbers, ColourIsRedInTheLowByte) {
    const NumberCase cases[] = {
        {u"#FF8000", 255 + 128 * 256},
        {u"#0000FF", 0xFF0000},
        {u"#00ff00", 0x00FF00},
        {u"#FFFFFF", 0xFFFFFF},
        {u"#FF", 0xFF}, // green and blue missing
        {u"#FF80", 0x80FF},
        {u"#", 0},
        {u"", 0},
        {u"#GG8000", 0x8000}, // a pair that is not hexadecimal reads as 0
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(parseColour(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(TextNumbers, CalloutSplitsAtTheHashSigns) {
    struct Case {
        const char16_t* text;
        CalloutLine expected;
    } const cases[] = {
        {u"120#40#88", {120, 40, 88}}, {u"120", {120, 0, 0}},   {u"120#40", {120, 40, 0}},
        {u"#40#88", {0, 40, 88}},      {u"1#2#3#4", {1, 2, 3}}, {u"", {0, 0, 0}},
        {u"a#b#c", {0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseCallout(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
}

} // namespace
} // namespace corvane::catalog
