// Recording captured keys into a macro: recorded, fixed and no delays, the closing
// delay, the 31 s cap, the limit, timestamps, and a held key that repeats.
#include "pages/keys/InputEventPrinter.h"

#include "pages/macros/MacroRecorder.h"

#include <gtest/gtest.h>

namespace corvane::pages {
namespace {

InputEvent down(int vk, const char* name) {
    return {InputKind::Keyboard, 0, vk, QString::fromUtf8(name)};
}
InputEvent up(int vk, const char* name) {
    return {InputKind::Keyboard, 1, vk, QString::fromUtf8(name)};
}

struct Step {
    int type, value;
    bool operator==(const Step&) const = default;
};
void PrintTo(const Step& s, std::ostream* os) {
    *os << "{" << s.type << ", " << s.value << "}";
}

class MacroRecorderTest : public ::testing::Test {
protected:
    std::vector<Step> steps() const {
        std::vector<Step> s;
        for (const MacroEntry& e : list.entries())
            s.push_back({e.type, e.value});
        return s;
    }
    // Types "ab": a down, a up, b down, b up, `gap` ms apart.
    void typeAb(qint64 gap) {
        for (const InputEvent& e : {down(65, "A"), up(65, "A"), down(66, "B"), up(66, "B")}) {
            EXPECT_EQ(recorder.record(e), MacroRecorder::Outcome::Appended);
            now += gap;
        }
    }

    qint64 now = 1000;
    MacroEventList list;
    MacroRecorder recorder{[this] { return now; }};
};

TEST_F(MacroRecorderTest, RecordedDelaysAreTheTimeBetweenEventsAndAClosingOne) {
    recorder.start(list, DelayMode::RecordedDelay, 0);
    typeAb(120);
    now += 30; // 150 ms after the last release
    recorder.stop();
    EXPECT_EQ(steps(),
              (std::vector<Step>{
                  {2, 65}, {1, 120}, {3, 65}, {1, 120}, {2, 66}, {1, 120}, {3, 66}, {1, 150}}));
    EXPECT_EQ(list.at(0).desc, QStringLiteral("\u2193  A"));
    EXPECT_EQ(list.at(1).desc, QStringLiteral("120 ms"));
    EXPECT_FALSE(recorder.isRecording());
}

TEST_F(MacroRecorderTest, FixedDelaysGoBetweenEventsAndAtTheEnd) {
    recorder.start(list, DelayMode::FixedDelay, 10);
    typeAb(500);
    recorder.stop();
    EXPECT_EQ(steps(),
              (std::vector<Step>{
                  {2, 65}, {1, 10}, {3, 65}, {1, 10}, {2, 66}, {1, 10}, {3, 66}, {1, 10}}));
}

TEST_F(MacroRecorderTest, NoDelayRecordsTheKeysAlone) {
    recorder.start(list, DelayMode::NoDelay, 0);
    typeAb(80);
    recorder.stop();
    EXPECT_EQ(steps(), (std::vector<Step>{{2, 65}, {3, 65}, {2, 66}, {3, 66}}));
}

TEST_F(MacroRecorderTest, ALongPauseIsCappedAndNothingRecordedAddsNoClosingDelay) {
    recorder.start(list, DelayMode::RecordedDelay, 0);
    now += 40000;
    recorder.stop();
    EXPECT_TRUE(list.empty());

    recorder.start(list, DelayMode::RecordedDelay, 0);
    recorder.record(down(65, "A"));
    now += 45000;
    recorder.record(up(65, "A"));
    recorder.stop(); // 0 ms after the last: no closing delay
    EXPECT_EQ(steps(), (std::vector<Step>{{2, 65}, {1, kMaxRecordedDelayMs}, {3, 65}}));
}

TEST_F(MacroRecorderTest, AHeldKeyIsOnePressAndOneRelease) {
    recorder.start(list, DelayMode::NoDelay, 0);
    recorder.record(down(65, "A"));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(recorder.record(down(65, "A")), MacroRecorder::Outcome::Ignored);
    recorder.record(up(65, "A"));
    EXPECT_EQ(recorder.record({InputKind::Keyboard, 0, 0, {}}), MacroRecorder::Outcome::Ignored);
    recorder.stop();
    EXPECT_EQ(steps(), (std::vector<Step>{{2, 65}, {3, 65}}));
}

TEST_F(MacroRecorderTest, AReleaseWhosePressCameBeforeTheStartIsNotRecorded) {
    recorder.start(list, DelayMode::RecordedDelay, 0);
    EXPECT_EQ(recorder.record(up(32, "Space")), MacroRecorder::Outcome::Ignored);
    now += 50;
    EXPECT_EQ(recorder.record(down(65, "A")), MacroRecorder::Outcome::Appended);
    EXPECT_EQ(recorder.record(up(65, "A")), MacroRecorder::Outcome::Appended);
    recorder.stop();
    EXPECT_EQ(steps(), (std::vector<Step>{{2, 65}, {3, 65}}));
}

TEST_F(MacroRecorderTest, AppendsWithConsecutiveTimestampsAfterTheExistingEntries) {
    list.insert(0, MacroEventList::keyPress(90, "Z", 5000));
    now = 5000; // the tick equals numbers in the list: the counter starts above them
    recorder.start(list, DelayMode::FixedDelay, 10);
    recorder.record(down(65, "A"));
    recorder.record(up(65, "A"));
    recorder.stop();
    ASSERT_EQ(list.size(), 4 + 5);
    EXPECT_EQ(list.at(4).type, 1) << "the list had events: a delay goes first";
    for (int i = 4; i < list.size(); ++i)
        EXPECT_EQ(list.at(i).timestamp, 5003 + (i - 3)) << i;
}

TEST_F(MacroRecorderTest, TheLimitStopsTheRecordingKeepingWhatCameBefore) {
    recorder.start(list, DelayMode::FixedDelay, 10);
    MacroRecorder::Outcome last = MacroRecorder::Outcome::Appended;
    int events = 0;
    while (last == MacroRecorder::Outcome::Appended) {
        last = recorder.record(events % 2 ? up(65, "A") : down(65, "A"));
        ++events;
    }
    EXPECT_EQ(last, MacroRecorder::Outcome::LimitReached);
    EXPECT_EQ(events, kRecordingEventLimit);
    EXPECT_EQ(list.eventCount(), kRecordingEventLimit);
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(list.entries().back().type, 1) << "the closing delay";

    // A list already at the limit stops at the first event and takes nothing.
    const int size = list.size();
    recorder.start(list, DelayMode::FixedDelay, 10);
    EXPECT_EQ(recorder.record(down(66, "B")), MacroRecorder::Outcome::LimitReached);
    EXPECT_EQ(list.size(), size) << "nothing recorded, so no closing delay either";
}

} // namespace
} // namespace corvane::pages
