#pragma once

#include <QString>

namespace corvane::store {

// A macro (a row of t_macro_data). Macros belong to the database file, so
// every profile of the device type sees the same ones.
struct MacroDefinition {
    int id = 0;
    QString name;
    int playType = 0;
    int playTimes = 1;
    int delayType = 1;
    int delayTime = 0;
};

// One recorded step of a macro (a row of t_macrorecord). Steps are read back
// in ascending order of index.
struct MacroEvent {
    int id = 0;
    int macroId = 0;
    int type = 0;
    int index = 0;
    int value = 0;
    int timestamp = 0; // ties the entries of one press together (column delay_time)
    QString desc;      // the text shown for the step
};

} // namespace corvane::store
