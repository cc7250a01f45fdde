#include "pages/macros/MacroRecorder.h"

#include "protocol/codec/MacroStream.h"

#include <algorithm>
#include <chrono>

namespace corvane::pages {

MonotonicClock steadyClock() {
    return [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

void MacroRecorder::start(MacroEventList& list, DelayMode mode, int fixedDelayMs) {
    m_list = &list;
    m_mode = mode;
    m_fixedDelay = std::max(0, fixedDelayMs);
    m_previous = 0;
    m_anyRecorded = false;
    m_appended = 0;
    m_held.clear();
    // Entries take the numbers after the seed; freshTimestamp keeps them apart from the
    // numbers already in the list.
    m_counter = list.freshTimestamp(m_clock());
}

bool MacroRecorder::limitReached() const {
    return m_list->eventCount() >= kRecordingEventLimit || m_list->size() >= kMaxEntries;
}

void MacroRecorder::append(const MacroEntry& entry) {
    MacroEntry numbered = entry;
    numbered.timestamp = ++m_counter;
    m_list->append(numbered);
    ++m_appended;
}

MacroRecorder::Outcome MacroRecorder::record(const InputEvent& event) {
    if (!m_list || event.name.isEmpty() || event.kind != InputKind::Keyboard)
        return Outcome::Ignored;
    const bool down = event.released == 0;
    if (down && !m_held.insert(event.virtualKey).second)
        return Outcome::Ignored;
    // The release of a key pressed before the recording started (the Space or Enter that
    // pressed the record button) has no press in the macro: it is not recorded.
    if (!down && m_held.erase(event.virtualKey) == 0)
        return Outcome::Ignored;

    // A list already at the limit takes nothing more: not even the delay in front.
    if (limitReached()) {
        stop();
        return Outcome::LimitReached;
    }
    const qint64 now = m_clock();
    switch (m_mode) {
    case DelayMode::RecordedDelay: {
        const qint64 d =
            m_anyRecorded ? std::min<qint64>(now - m_previous, kMaxRecordedDelayMs) : 0;
        if (d > 0)
            append(delayEntry(int(d), 0));
        break;
    }
    case DelayMode::FixedDelay:
        if (m_fixedDelay != 0 && m_list->eventCount() > 0)
            append(delayEntry(m_fixedDelay, 0));
        break;
    case DelayMode::NoDelay:
        break;
    }
    m_previous = now;
    m_anyRecorded = true;
    append(keyEntry(down, event.virtualKey, event.name, 0));
    if (limitReached()) {
        stop();
        return Outcome::LimitReached;
    }
    return Outcome::Appended;
}

void MacroRecorder::stop() {
    if (!m_list)
        return;
    // A recording that took no key, or a full list, gets no closing delay.
    if (!m_anyRecorded || m_list->size() >= kMaxEntries)
        m_mode = DelayMode::NoDelay;
    switch (m_mode) {
    case DelayMode::RecordedDelay: {
        const qint64 d = std::min<qint64>(m_clock() - m_previous, kMaxRecordedDelayMs);
        if (d > 0)
            append(delayEntry(int(d), 0));
        break;
    }
    case DelayMode::FixedDelay:
        if (m_fixedDelay != 0 && m_list->eventCount() > 0)
            append(delayEntry(m_fixedDelay, 0));
        break;
    case DelayMode::NoDelay:
        break;
    }
    m_list = nullptr;
    m_held.clear();
}

} // namespace corvane::pages
