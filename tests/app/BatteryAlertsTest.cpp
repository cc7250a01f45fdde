// When a wireless mouse's battery is worth a notification.
#include "app/desktop/BatteryAlerts.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvane::app::test {
namespace {

struct Reading {
    int level;
    bool charging;
    int told; // the mark told, 0 for none
};

void expectTold(const std::vector<Reading>& readings) {
    BatteryAlerts alerts;
    for (const Reading& r : readings) {
        const std::optional<int> mark = alerts.report(r.level, r.charging);
        EXPECT_EQ(mark.value_or(0), r.told)
            << "at " << r.level << "%" << (r.charging ? " charging" : "");
    }
}

TEST(BatteryAlerts, EachMarkIsToldOncePerDischarge) {
    // Falling through both marks, with readings that bounce around them.
    expectTold({{40, false, 0},
                {16, false, 0},
                {15, false, 15},
                {16, false, 0},
                {15, false, 0},
                {9, false, 0},
                {5, false, 5},
                {6, false, 0},
                {3, false, 0}});
    // Charging starts a new discharge; so does a fresh battery without charging.
    expectTold({{15, false, 15}, {20, true, 0}, {15, false, 15}, {90, false, 0}, {4, false, 5}});
}

TEST(BatteryAlerts, AFirstReadingBelowAMarkTellsTheLowestOnceAndNoReadingChangesNothing) {
    expectTold({{3, false, 5}, {2, false, 0}});
    expectTold({{12, false, 15}, {0, false, 0}, {-1, false, 0}, {12, false, 0}, {5, false, 5}});
}

} // namespace
} // namespace corvane::app::test
