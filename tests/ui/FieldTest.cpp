// Text and number fields: what can be typed, what is reported, how numbers are read and
// limited.

#include "UiTest.h"

#include "ui/controls/TextField.h"

#include <QLineEdit>
#include <QTest>

#include <climits>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

using Notes = std::vector<Note>;

TEST(FieldTest, LeadingNumberReadsTheDigitsAtTheStart) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12ab", 12},
        {"-2", -2},
        {"+7", 7},
        {" 42 ", 42},
        {"007", 7},
        {"-", 0},
        {"3000000000", INT_MAX},
        {"-3000000000", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.value) << c.text;
}

TEST(FieldTest, ClampToRangeRewritesOnlyANumberOutsideTheRange) {
    const struct {
        int min, max;
        const char* typed;
        const char* shown;
        bool rewritten;
    } cases[] = {
        {5, 255, "3", "5", true},   {5, 255, "300", "255", true},  {5, 255, "", "5", true},
        {5, 255, "abc", "5", true}, {5, 255, "100", "100", false}, {0, 255, "-2", "0", true},
        {0, 255, "", "", false},    {4, 20, "30", "20", true},
    };
    RecordingDialog d;
    d.create(nullptr, "Fields", StylePopup, 0, QRect(0, 0, 100, 100));
    auto* field = d.add<NumberField>(1, QRect(0, 0, 80, 24));
    for (const auto& c : cases) {
        field->setRange(c.min, c.max);
        field->setText(c.typed);
        EXPECT_EQ(field->clampToRange(), c.rewritten) << c.typed;
        EXPECT_EQ(field->text(), c.shown) << c.typed;
    }
    EXPECT_TRUE(d.notes.empty());
}

TEST(FieldTest, NumberFieldAcceptsOnlyDigitsAndReportsEachEdit) {
    auto d = showDialog([](RecordingDialog& r) {
        auto* rgb = r.add<NumberField>(231, QRect(10, 10, 60, 24));
        rgb->setRange(0, 255);
        rgb->setMaxDigits(3);
        r.add<NumberField>(232, QRect(10, 40, 60, 24))->setRange(-10, 10);
        r.add<TextField>(233, QRect(10, 70, 120, 24));
    });
    auto* edit = d->control(231)->findChild<QLineEdit*>();
    edit->setFocus();
    d->notes.clear();
    QTest::keyClicks(edit, "a1-b2x34");
    EXPECT_EQ(edit->text(), "123") << "letters and the minus are refused, at most 3 digits";
    EXPECT_EQ(d->notes, (Notes{{231, 26, 1, 0}, {231, 26, 12, 0}, {231, 26, 123, 0}}));

    auto* signedEdit = d->control(232)->findChild<QLineEdit*>();
    signedEdit->setFocus();
    QTest::keyClicks(signedEdit, "-5");
    EXPECT_EQ(d->find<NumberField>(232)->value(), -5) << "a minus is allowed where the range is";

    auto* text = d->control(233)->findChild<QLineEdit*>();
    text->setFocus();
    d->notes.clear();
    QTest::keyClicks(text, "ab");
    EXPECT_EQ(d->notes, (Notes{{233, 26, 0, 0}, {233, 26, 0, 0}}));
    d->find<TextField>(233)->setText("from code");
    EXPECT_EQ(d->notes.size(), 2u);
}

} // namespace
} // namespace corvane::ui::test
