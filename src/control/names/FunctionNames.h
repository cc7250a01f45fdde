#pragma once
// control/names: names of functions, keys, settings and values; includes no other room.
// A key's function as corvanectl names it: "mouse:left", "key:ctrl+c", "repeat:3,50",
// "macro:Reload", "disable" and the other names of the binding catalogue.

#include "store/ButtonBinding.h"
#include "store/MacroRecords.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace corvane::control {

// The binding a function name stands for, with the description the button page would
// store for it (`text` gives the interface texts in the language in use).
struct ParsedFunction {
    bool ok = false;
    QString error; // why the name was refused
    int type = 0;
    int value = 0;
    int value2 = 0;
    QString description;
};

ParsedFunction parseFunction(QStringView name, const std::vector<store::MacroDefinition>& macros,
                             const std::function<QString(int)>& text);

// The macro a command line names: "#ID" by its id, otherwise by its name, which must be
// one macro's only (two macros may share a name). `macro` is null on a refusal and
// `error` says why, with the ids to choose from when the name is shared.
struct MacroChoice {
    const store::MacroDefinition* macro = nullptr;
    QString error;
};
MacroChoice chooseMacro(QStringView choice, const std::vector<store::MacroDefinition>& macros);

// How corvanectl names a stored macro: its name, or "#ID" where the name would not find
// it alone (shared, empty, or itself of the "#ID" form).
QString macroChoiceName(const store::MacroDefinition& macro,
                        const std::vector<store::MacroDefinition>& macros);

// The name of a stored binding; codes no name covers come out as "code:T,V,V2".
QString functionName(int type, int value, int value2,
                     const std::vector<store::MacroDefinition>& macros);

// The description the keyboard sub-panel stores: the modifiers in the order Shift,
// Ctrl, Win, Alt (the first as it is, each further one as "+ Ctrl" right behind it),
// then " + " and the key's label; either part alone when the other is empty.
QString keyboardDescription(int modifierBits, const QString& keyLabel);

} // namespace corvane::control
