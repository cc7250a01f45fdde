#include <gtest/gtest.h>

#include "TraceCapture.h"

namespace corvane::hid::testing {
namespace {

TEST(Trace, FormatsEachLineForTheSink) {
    TraceCapture capture;
    trace(2, "  [%d] DeviceId: %s, DeviceType: %d", 3, "CV01", 201);
    trace(1, "%s", std::string(600, 'x').c_str());
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0], "  [3] DeviceId: CV01, DeviceType: 201");
    EXPECT_EQ(capture.lines()[1].size(), 600u);
    EXPECT_EQ(capture.levels(), (std::vector<int>{2, 1}));
}

TEST(Trace, WritesNothingOnceTheSinkIsRemoved) {
    std::vector<std::string> lines;
    setTraceSink([&](int, std::string_view line) { lines.emplace_back(line); });
    trace(2, "kept");
    setTraceSink({});
    trace(2, "dropped");
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});
}

} // namespace
} // namespace corvane::hid::testing
