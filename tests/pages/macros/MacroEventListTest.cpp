// A macro's entries as the editor changes them: inserted presses and clicks with their
// timestamps, changing a key or button of one press, and the size the mouse takes.
#include "pages/macros/MacroEventList.h"

#include <gtest/gtest.h>

namespace corvane::pages {
namespace {

std::vector<int> types(const MacroEventList& list) {
    std::vector<int> t;
    for (const MacroEntry& e : list.entries())
        t.push_back(e.type);
    return t;
}

TEST(MacroEventList, AnInsertedClickSharesOneTimestampBetweenDownAndUp) {
    MacroEventList list;
    list.insert(list.size(), MacroEventList::click(1, 5000));
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list.at(0), (MacroEntry{4, 1, 5000, QStringLiteral("\u2193  LB")}));
    EXPECT_EQ(list.at(1), (MacroEntry{1, 10, 5001, QStringLiteral("10 ms")}));
    EXPECT_EQ(list.at(2), (MacroEntry{5, 1, 5000, QStringLiteral("\u2191  LB")}));
    EXPECT_EQ(list.at(3), (MacroEntry{1, 10, 5002, QStringLiteral("10 ms")}));
    EXPECT_EQ(list.eventCount(), 2);
}

TEST(MacroEventList, FreshTimestampsNeverReuseANumberOfTheList) {
    MacroEventList list;
    EXPECT_EQ(list.freshTimestamp(7000), 7000);
    list.insert(0, MacroEventList::keyPress(65, "A", 7000));
    // A second insert within the same millisecond gets numbers of its own.
    EXPECT_EQ(list.freshTimestamp(7000), 7003);
    EXPECT_EQ(list.freshTimestamp(9000), 9000);
    // Only the low 32 bits of the tick count are kept.
    EXPECT_EQ(MacroEventList{}.freshTimestamp((qint64(5) << 32) + 12), 12);
}

TEST(MacroEventList, ChangingAKeyChangesTheStepsOfThatPressOnly) {
    MacroEventList list;
    list.insert(0, MacroEventList::keyPress(65, "A", 100));
    list.insert(4, MacroEventList::keyPress(65, "A", 200));
    EXPECT_EQ(list.changeKey(2, 66, "B"), 2);
    EXPECT_EQ(list.at(0).value, 66);
    EXPECT_EQ(list.at(2).desc, QStringLiteral("\u2191  B"));
    EXPECT_EQ(list.at(4).value, 65) << "the other press keeps its key";
    EXPECT_EQ(list.changeKey(1, 67, "C"), 0) << "a delay has no key";

    // Imported steps without timestamps: only the entries with the same old key change.
    MacroEventList imported;
    imported.append(keyEntry(true, 65, "A", 0));
    imported.append(keyEntry(true, 83, "S", 0));
    imported.append(keyEntry(false, 65, "A", 0));
    imported.append(keyEntry(false, 83, "S", 0));
    EXPECT_EQ(imported.changeKey(0, 68, "D"), 2);
    EXPECT_EQ(imported.at(1).value, 83);
    EXPECT_EQ(imported.at(2).value, 68);
    EXPECT_EQ(imported.at(3).value, 83);
}

TEST(MacroEventList, ChangingAButtonRelabelsItsDownAndUp) {
    MacroEventList list;
    list.insert(0, MacroEventList::click(1, 10));
    EXPECT_EQ(list.changeButton(0, 8), 2);
    EXPECT_EQ(list.at(0).desc, QStringLiteral("\u2193  Backward"));
    EXPECT_EQ(list.at(2), (MacroEntry{5, 8, 10, QStringLiteral("\u2191  Backward")}));
    EXPECT_EQ(list.changeButton(0, 3), 0) << "not a button bit";
}

TEST(MacroEventList, MovesAndRemovesKeepTheOthersInOrder) {
    MacroEventList list;
    list.insert(0, MacroEventList::keyPress(65, "A", 1));
    list.insert(0, {delayEntry(99, 0)}); // in front of everything
    EXPECT_EQ(types(list), (std::vector<int>{1, 2, 1, 3, 1}));
    EXPECT_TRUE(list.move(0, 4));
    EXPECT_EQ(types(list), (std::vector<int>{2, 1, 3, 1, 1}));
    EXPECT_EQ(list.at(4).value, 99);
    EXPECT_FALSE(list.move(0, 5));
    list.remove(0);
    list.remove(9);
    EXPECT_EQ(types(list), (std::vector<int>{1, 3, 1, 1}));
}

TEST(MacroEventList, TheMouseTakesAtMostFifteenPacketsOfSteps) {
    // 1 button byte + 4 bytes per step; 15 packets of 27 bytes hold 101 steps.
    MacroEventList list;
    for (int i = 0; i < 50; ++i)
        list.insert(list.size(), MacroEventList::keyPress(65, "A", i * 3));
    EXPECT_EQ(list.eventCount(), 100);
    EXPECT_TRUE(list.fitsAfterInsert(list.size(), {keyEntry(true, 66, "B", 1)}));
    EXPECT_FALSE(list.fitsAfterInsert(list.size(), MacroEventList::keyPress(66, "B", 999)));
    EXPECT_TRUE(list.fitsAfterInsert(0, {delayEntry(10, 1)})) << "a delay adds no step";
}

TEST(MacroEventList, StoredRowsCarryPositionAndTimestamp) {
    MacroEventList list;
    list.insert(0, MacroEventList::keyPress(65, "A", 42));
    const auto events = list.toEvents(9);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].index, 2);
    EXPECT_EQ(events[2].macroId, 9);
    EXPECT_EQ(events[2].timestamp, 42);
    MacroEventList back;
    back.fromEvents(events);
    EXPECT_EQ(back.entries(), list.entries());
}

} // namespace
} // namespace corvane::pages
