#pragma once
// The entries of one macro as the macro page edits them: delays, key and button steps,
// each with its text and a timestamp number that ties the down and up steps of one press
// together. No widgets: the page shows it, the recorder appends to it, the store saves it.

#include "store/MacroRecords.h"

#include <QString>

#include <vector>

namespace corvane::pages {

struct MacroEntry {
    int type = 0;  // protocol::MacroEventType
    int value = 0; // milliseconds, virtual key or button bit
    int timestamp = 0;
    QString desc;

    bool operator==(const MacroEntry&) const = default;
};

// Limits of a macro's list.
inline constexpr int kMaxEntries = 200;         // an insert needs the list below this
inline constexpr int kRecordingEventLimit = 30; // key and button steps a recording stops at
inline constexpr int kMaxDelayMs = 10000;       // a delay typed into a field
inline constexpr int kInsertedDelayMs = 10;

// A mouse button step: its bit, label and the item data of the page's button selector.
struct MacroButton {
    int bit;
    const char16_t* label;
    int itemData;
};
const MacroButton* macroButtonByBit(int bit);
const MacroButton* macroButtonByItem(int itemData);

// "↓  name" for a down step, "↑  name" for an up step; "%d ms" for a delay.
QString downText(const QString& name);
QString upText(const QString& name);
QString delayText(int ms);

MacroEntry delayEntry(int ms, int timestamp);
MacroEntry keyEntry(bool down, int virtualKey, const QString& name, int timestamp);
MacroEntry buttonEntry(bool down, int bit, int timestamp);

class MacroEventList {
public:
    const std::vector<MacroEntry>& entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    bool empty() const { return m_entries.empty(); }
    const MacroEntry& at(int i) const { return m_entries[std::size_t(i)]; }

    // The key and button steps (delays are not counted); 0 for an empty list.
    int eventCount() const;
    // A timestamp base no entry of the list uses: the tick given, or one above the
    // highest timestamp in the list when that is higher (two inserts within one
    // millisecond, or after a fast recording, must not share numbers).
    int freshTimestamp(qint64 tickMs) const;

    void clear() { m_entries.clear(); }
    void append(const MacroEntry& entry) { m_entries.push_back(entry); }
    // Inserts at position `at` (clamped to 0..size()).
    void insert(int at, const std::vector<MacroEntry>& entries);
    void remove(int at);
    void setEntry(int at, const MacroEntry& entry) { m_entries[std::size_t(at)] = entry; }
    // Moves the entry at `from` to `to`; false when either is outside the list.
    bool move(int from, int to);

    // The four entries of an inserted press or click: down (T), delay (T+1), up (T),
    // delay (T+2).
    static std::vector<MacroEntry> keyPress(int virtualKey, const QString& name, int t);
    static std::vector<MacroEntry> click(int bit, int t);

    // Gives the key steps that share the entry's timestamp and its old key the new key;
    // returns how many changed. Recorded steps each carry their own number; imported
    // ones may all carry 0, so the old key has to match as well.
    int changeKey(int at, int virtualKey, const QString& name);
    // The same for the button steps of the entry.
    int changeButton(int at, int bit);

    // Whether `entries` inserted at `at` keep the macro within what the mouse takes
    // (15 packets of SetMacro).
    bool fitsAfterInsert(int at, const std::vector<MacroEntry>& entries) const;
    static bool fitsDevice(const std::vector<MacroEntry>& entries);

    // The rows the store keeps, index = position.
    std::vector<store::MacroEvent> toEvents(int macroId) const;
    void fromEvents(const std::vector<store::MacroEvent>& events);

private:
    std::vector<MacroEntry> m_entries;
};

} // namespace corvane::pages
