#pragma once

#include <QString>

namespace corvane::store {

// The function bound to one button of a profile (a row of t_key_macro_data).
// At most one row exists per (profile, fnLayer, keyCode); a binding whose
// macroValue and macroValue2 are both 0 is never stored.
struct ButtonBinding {
    int id = 0;
    int profile = 0;
    int fnLayer = 0;     // always 0
    int keyCode = 0;     // the button, as the device description numbers it
    int layoutValue = 0; // always 0
    QString layoutDesc;  // always empty
    int macroType = 0;   // kind of function; 4 runs the macro whose id is macroValue
    int macroValue = 0;
    int macroValue2 = 0;
    int macroValue3 = 0;
    QString macroDesc; // the text shown for the button
};

} // namespace corvane::store
