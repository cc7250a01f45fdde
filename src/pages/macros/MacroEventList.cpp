#include "pages/macros/MacroEventList.h"

#include "protocol/codec/MacroStream.h"
#include "protocol/transport/PacketSlicing.h"

#include <algorithm>
#include <array>

namespace corvane::pages {

namespace {

using protocol::MacroEventType;

constexpr std::array kButtons{
    MacroButton{1, u"LB", 1},       MacroButton{2, u"RB", 3},       MacroButton{4, u"MB", 2},
    MacroButton{16, u"Forward", 5}, MacroButton{8, u"Backward", 6},
};

constexpr int type(MacroEventType t) {
    return static_cast<int>(t);
}

bool isKey(int t) {
    return t == type(MacroEventType::KeyDown) || t == type(MacroEventType::KeyUp);
}
bool isButton(int t) {
    return t == type(MacroEventType::ButtonDown) || t == type(MacroEventType::ButtonUp);
}

} // namespace

const MacroButton* macroButtonByBit(int bit) {
    const auto it = std::find_if(kButtons.begin(), kButtons.end(),
                                 [bit](const MacroButton& b) { return b.bit == bit; });
    return it == kButtons.end() ? nullptr : &*it;
}

const MacroButton* macroButtonByItem(int itemData) {
    const auto it =
        std::find_if(kButtons.begin(), kButtons.end(),
                     [itemData](const MacroButton& b) { return b.itemData == itemData; });
    return it == kButtons.end() ? nullptr : &*it;
}

QString downText(const QString& name) {
    return QStringLiteral("\u2193  ") + name;
}
QString upText(const QString& name) {
    return QStringLiteral("\u2191  ") + name;
}
QString delayText(int ms) {
    return QStringLiteral("%1 ms").arg(ms);
}

MacroEntry delayEntry(int ms, int timestamp) {
    return {type(MacroEventType::Delay), ms, timestamp, delayText(ms)};
}

MacroEntry keyEntry(bool down, int virtualKey, const QString& name, int timestamp) {
    return {type(down ? MacroEventType::KeyDown : MacroEventType::KeyUp), virtualKey, timestamp,
            down ? downText(name) : upText(name)};
}

MacroEntry buttonEntry(bool down, int bit, int timestamp) {
    const MacroButton* button = macroButtonByBit(bit);
    const QString name = button ? QString::fromUtf16(button->label) : QString::number(bit);
    return {type(down ? MacroEventType::ButtonDown : MacroEventType::ButtonUp), bit, timestamp,
            down ? downText(name) : upText(name)};
}

int MacroEventList::eventCount() const {
    return int(std::count_if(m_entries.begin(), m_entries.end(), [](const MacroEntry& e) {
        return isKey(e.type) || isButton(e.type);
    }));
}

int MacroEventList::freshTimestamp(qint64 tickMs) const {
    // The low 32 bits of the tick count, as the stored column keeps them.
    const int tick = static_cast<int>(static_cast<quint32>(tickMs & 0xFFFFFFFF));
    if (m_entries.empty())
        return tick;
    const int highest = std::max_element(m_entries.begin(), m_entries.end(),
                                         [](const MacroEntry& a, const MacroEntry& b) {
                                             return a.timestamp < b.timestamp;
                                         })
                            ->timestamp;
    return tick > highest ? tick : static_cast<int>(static_cast<quint32>(highest) + 1u);
}

void MacroEventList::insert(int at, const std::vector<MacroEntry>& entries) {
    at = std::clamp(at, 0, size());
    m_entries.insert(m_entries.begin() + at, entries.begin(), entries.end());
}

void MacroEventList::remove(int at) {
    if (at >= 0 && at < size())
        m_entries.erase(m_entries.begin() + at);
}

bool MacroEventList::move(int from, int to) {
    if (from < 0 || from >= size() || to < 0 || to >= size())
        return false;
    const MacroEntry entry = m_entries[std::size_t(from)];
    m_entries.erase(m_entries.begin() + from);
    m_entries.insert(m_entries.begin() + to, entry);
    return true;
}

std::vector<MacroEntry> MacroEventList::keyPress(int virtualKey, const QString& name, int t) {
    return {keyEntry(true, virtualKey, name, t), delayEntry(kInsertedDelayMs, t + 1),
            keyEntry(false, virtualKey, name, t), delayEntry(kInsertedDelayMs, t + 2)};
}

std::vector<MacroEntry> MacroEventList::click(int bit, int t) {
    return {buttonEntry(true, bit, t), delayEntry(kInsertedDelayMs, t + 1),
            buttonEntry(false, bit, t), delayEntry(kInsertedDelayMs, t + 2)};
}

int MacroEventList::changeKey(int at, int virtualKey, const QString& name) {
    if (at < 0 || at >= size() || !isKey(m_entries[std::size_t(at)].type))
        return 0;
    const MacroEntry selected = m_entries[std::size_t(at)];
    int changed = 0;
    for (MacroEntry& e : m_entries) {
        if (isKey(e.type) && e.timestamp == selected.timestamp && e.value == selected.value) {
            e = keyEntry(e.type == type(MacroEventType::KeyDown), virtualKey, name, e.timestamp);
            ++changed;
        }
    }
    return changed;
}

int MacroEventList::changeButton(int at, int bit) {
    if (at < 0 || at >= size() || !isButton(m_entries[std::size_t(at)].type) ||
        !macroButtonByBit(bit))
        return 0;
    const MacroEntry selected = m_entries[std::size_t(at)];
    int changed = 0;
    for (MacroEntry& e : m_entries) {
        if (isButton(e.type) && e.timestamp == selected.timestamp && e.value == selected.value) {
            e = buttonEntry(e.type == type(MacroEventType::ButtonDown), bit, e.timestamp);
            ++changed;
        }
    }
    return changed;
}

bool MacroEventList::fitsDevice(const std::vector<MacroEntry>& entries) {
    std::vector<store::MacroEvent> events;
    events.reserve(entries.size());
    for (const MacroEntry& e : entries)
        events.push_back({0, 0, e.type, 0, e.value, e.timestamp, {}});
    const protocol::MacroStream stream = protocol::buildMacroStream(0, events);
    return stream.bytes.size() <= protocol::kMaxSlicedPayload;
}

bool MacroEventList::fitsAfterInsert(int at, const std::vector<MacroEntry>& entries) const {
    MacroEventList after = *this;
    after.insert(at, entries);
    return fitsDevice(after.m_entries);
}

std::vector<store::MacroEvent> MacroEventList::toEvents(int macroId) const {
    std::vector<store::MacroEvent> events;
    events.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const MacroEntry& e = m_entries[i];
        events.push_back({0, macroId, e.type, int(i), e.value, e.timestamp, e.desc});
    }
    return events;
}

void MacroEventList::fromEvents(const std::vector<store::MacroEvent>& events) {
    m_entries.clear();
    m_entries.reserve(events.size());
    for (const store::MacroEvent& e : events)
        m_entries.push_back({e.type, e.value, e.timestamp, e.desc});
}

} // namespace corvane::pages
