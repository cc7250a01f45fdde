#pragma once
// Recording keyboard input into a macro's list: delays from a monotonic millisecond
// clock, timestamps from a counter seeded at the start, the recording limit. No widgets:
// the macro page feeds it the captured key events and shows what it appended.

#include "pages/keys/InputEvent.h"
#include "pages/macros/MacroEventList.h"

#include <QtGlobal>

#include <functional>
#include <set>

namespace corvane::pages {

// How a recording puts delays between the keys (a macro's delay_type).
enum class DelayMode { NoDelay = 0, RecordedDelay = 1, FixedDelay = 2 };

inline constexpr int kMaxRecordedDelayMs = 31000;

// Milliseconds of a clock that never goes back.
using MonotonicClock = std::function<qint64()>;
MonotonicClock steadyClock();

class MacroRecorder {
public:
    explicit MacroRecorder(MonotonicClock clock = steadyClock()) : m_clock(std::move(clock)) {}

    bool isRecording() const { return m_list != nullptr; }

    // Starts appending to `list` (kept; it must outlive the recording).
    void start(MacroEventList& list, DelayMode mode, int fixedDelayMs);

    enum class Outcome {
        Ignored,      // not recording, no name, or a held key repeating
        Appended,     // the event (and a delay in front of it) was appended
        LimitReached, // the list reached the limit: recording stopped, show the message
    };
    // One captured key event. A press of a key that is still held (auto-repeat delivered
    // as presses) is ignored, so a held key is one press and one release; so is the
    // release of a key whose press came before the recording started.
    Outcome record(const InputEvent& event);

    // Ends the recording: appends the closing delay. Safe when not recording.
    void stop();

    // Entries the recording appended so far.
    int appended() const { return m_appended; }

private:
    void append(const MacroEntry& entry);
    bool limitReached() const;

    MonotonicClock m_clock;
    MacroEventList* m_list = nullptr;
    DelayMode m_mode = DelayMode::RecordedDelay;
    int m_fixedDelay = 0;
    qint64 m_previous = 0; // time of the previous recorded event; 0 before the first
    bool m_anyRecorded = false;
    int m_counter = 0;
    int m_appended = 0;
    std::set<int> m_held;
};

} // namespace corvane::pages
