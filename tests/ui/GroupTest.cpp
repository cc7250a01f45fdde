// Named groups: radio buttons and colour swatches, exclusive per group within a dialog.

#include "UiTest.h"

#include "ui/base/Colour.h"
#include "ui/controls/GroupedButton.h"
#include "ui/views/ColourSwatch.h"

#include <QTest>

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

using Notes = std::vector<Note>;

std::vector<bool> states(RecordingDialog& d, std::initializer_list<int> ids) {
    std::vector<bool> out;
    for (int id : ids)
        out.push_back(d.find<GroupedButton>(id)->isChecked());
    return out;
}

Notes clicksOf(const RecordingDialog& d) {
    Notes out;
    for (const Note& n : d.notes)
        if (n.code == Notify::Click)
            out.push_back(n);
    return out;
}

TEST(GroupTest, RadioButtonsAreExclusivePerGroupNameWithinTheirDialog) {
    auto build = [](RecordingDialog& r) {
        for (int i = 0; i < 3; ++i) {
            auto* radio = r.add<RadioButton>(1 + i, QRect(10, 10 + 30 * i, 120, 24));
            radio->setGroup("IDC_PER_STC_LOD");
        }
        auto* other = r.add<RadioButton>(4, QRect(200, 10, 120, 24));
        other->setGroup("OTHER");
        other->setChecked(true);
    };
    auto d = showDialog(build);
    auto second = showDialog(build); // the same group name in another window
    d->find<RadioButton>(1)->setChecked(true);
    second->find<RadioButton>(1)->setChecked(true);

    QTest::mouseClick(d->control(2), Qt::LeftButton, {}, {8, 12});
    EXPECT_EQ(states(*d, {1, 2, 3, 4}), (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(states(*second, {1, 2, 3}), (std::vector<bool>{true, false, false}));
    // Clicking the checked one again changes nothing and reports nothing.
    QTest::mouseClick(d->control(2), Qt::LeftButton, {}, {8, 12});
    EXPECT_EQ(clicksOf(*d), (Notes{{2, 2, 1, 0}}));

    // From code: exclusive as well, and silent.
    d->find<RadioButton>(3)->setChecked(true);
    EXPECT_EQ(states(*d, {1, 2, 3, 4}), (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(clicksOf(*d).size(), 1u);

    // A button that joins a group in which another is on is turned off.
    auto* late = d->add<RadioButton>(5, QRect(10, 200, 120, 24));
    late->setChecked(true);
    late->setGroup("IDC_PER_STC_LOD");
    EXPECT_FALSE(late->isChecked());
    EXPECT_EQ(late->groupMembers().size(), 4);
}

TEST(GroupTest, SwatchesReportTheirColourOnEveryClickAndKeepOneOn) {
    const int colours[] = {0x0000FF, 0xFF00F0, 0xFF0C00};
    auto d = showDialog([&](RecordingDialog& r) {
        for (int i = 0; i < 3; ++i) {
            auto* swatch = r.add<ColourSwatch>(218 + i, QRect(10 + 40 * i, 10, 30, 30));
            swatch->setGroup("slots");
            swatch->setColour(colourFromBgr(colours[i]));
        }
        r.add<ColourSwatch>(300, QRect(10, 60, 30, 30))->setColour(Qt::white); // no group
    });
    d->find<ColourSwatch>(218)->setChecked(true);
    QTest::mouseClick(d->control(220), Qt::LeftButton, {}, {15, 15});
    QTest::mouseClick(d->control(220), Qt::LeftButton, {}, {15, 15});
    QTest::mouseClick(d->control(300), Qt::LeftButton, {}, {15, 15});
    EXPECT_EQ(clicksOf(*d),
              (Notes{{220, 2, 0xFF0C00, 0}, {220, 2, 0xFF0C00, 0}, {300, 2, 0xFFFFFF, 0}}));
    EXPECT_EQ(states(*d, {218, 219, 220}), (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(d->find<ColourSwatch>(300)->isChecked()) << "a swatch without a group stays off";
}

TEST(GroupTest, ColourValuesRoundTripWithRedInTheLowByte) {
    EXPECT_EQ(colourFromBgr(0x0080FF), QColor(0xFF, 0x80, 0x00));
    EXPECT_EQ(bgrFromColour(QColor(0xFF, 0x80, 0x00)), 255 + 128 * 256);
    EXPECT_EQ(bgrFromColour(QColor()), 0);
}

} // namespace
} // namespace corvane::ui::test
