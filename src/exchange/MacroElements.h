#pragma once

// Internal to exchange/: the macro elements both macro layouts and the profile file's
// macro list share.

#include "store/MacroRecords.h"
#include "xml/MarkupDocument.h"

#include <QHash>
#include <QString>

#include <cstddef>
#include <vector>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::exchange {

// One macro as a file carries it. sourceId is the id it had in the database it was
// exported from (profile files only; 0 elsewhere).
struct FileMacro {
    int sourceId = 0;
    store::MacroDefinition macro;
    std::vector<store::MacroEvent> steps;
};

// Writing, the cursor on the element that takes the attributes or inside the parent
// of the steps.
void writeMacroAttributes(xml::MarkupDocument& document, const store::MacroDefinition& macro);
void writeSteps(xml::MarkupDocument& document, const std::vector<store::MacroEvent>& steps);
// A macro_item with its attributes and, when the macro has steps, its record_item; the
// cursor stays on the macro_item, so the next one follows as its sibling. A sourceId
// above 0 is written first, as macro_id.
void writeMacroItem(xml::MarkupDocument& document, const FileMacro& macro);

// Reading, the cursor on the element with the attributes or inside the steps' parent.
store::MacroDefinition readMacroAttributes(const xml::MarkupDocument& document);
std::vector<store::MacroEvent> readSteps(xml::MarkupDocument& document);
// Every macro_item that follows, inside their parent; the cursor ends on the last.
std::vector<FileMacro> readMacroItems(xml::MarkupDocument& document);

// Whether the macro and each of its steps are what the macro page could have written.
bool followsMacroRules(const FileMacro& macro);

// Stores the macro and its steps under a new id (never the file's); 0 when any part
// failed. Meant for a store step: on failure the caller undoes it whole.
int storeMacro(store::ProfileDatabase& database, const FileMacro& macro);

// The most macros, and steps in one macro, that an import takes from a file; a file
// with more is refused whole. Far above what the program writes (a recording holds at
// most 30 keys), far below what would hold the store for long.
inline constexpr std::size_t kMaxFileMacros = 1000;
inline constexpr std::size_t kMaxMacroSteps = 2000;
bool withinMacroLimits(const std::vector<FileMacro>& macros);

// The stored macros by name, settings and steps, read once for a whole import: finding
// an identical macro is one lookup, not a pass over every macro and its steps.
class IdenticalMacros {
public:
    explicit IdenticalMacros(store::ProfileDatabase& database);
    // An existing macro with the same name, settings and steps; 0 when there is none.
    int find(const FileMacro& macro) const;
    // A macro the import stored.
    void add(int id, const FileMacro& macro);

private:
    QHash<QString, int> ids_;
};

} // namespace corvane::exchange
