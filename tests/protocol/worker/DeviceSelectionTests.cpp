#include <gtest/gtest.h>

#include <vector>

#include "protocol/worker/DeviceSelection.h"

namespace corvane::protocol::testing {
namespace {

struct Case {
    const char* what;
    int stored;
    int previous;
    std::vector<int> attached;
    int expected;
};

// The catalog lists types 1 and 201.
const std::vector<int> kListed = {1, 201};

TEST(DeviceSelection, PicksTheCurrentTypeFromStoredValueSelectionAndAttachedDevices) {
    const std::vector<Case> cases = {
        {"stored, listed and attached", 201, 1, {1, 201}, 201},
        {"stored not listed: the previous selection stays", 101, 1, {1, 201}, 1},
        {"nothing selected before: the first listed attached type", 101, 0, {201, 1}, 201},
        {"stored listed but absent: the attached type", 1, 0, {201}, 201},
        {"previous absent too: the first listed attached type", 7, 1, {101, 201}, 201},
        {"only an unlisted type attached", 1, 0, {101}, 101},
        {"nothing attached: the list's own choice", 201, 1, {}, 201},
        {"nothing attached and nothing listed", 7, 0, {}, 0},
        {"a previous unlisted type that is still attached stays", 7, 101, {1, 101}, 101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseDeviceType(c.stored, c.previous, c.attached, kListed), c.expected)
            << c.what;
    }
}

} // namespace
} // namespace corvane::protocol::testing
