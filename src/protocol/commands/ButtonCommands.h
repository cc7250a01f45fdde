#pragma once

#include <set>

namespace corvane::protocol {

// Button and macro download for one profile, on the device worker, through the current
// command interface and the process-wide store.

// Sends the macro's stream for this button with SetMacro, one transaction per packet,
// in order. A packet that is not accepted leaves a trace line and the next one is
// still sent. A stream longer than 15 packets (405 bytes) cannot be numbered: nothing
// of it is sent, since a cut macro could leave a key held down on the mouse. True
// when every packet was accepted.
bool sendMacro(int buttonIndex, int macroId);

// Sends the profile's button table with SetButtons; a trace line when it is not
// accepted.
bool sendButtons(int profile);

// The button download the button page asks for. When macroDirty is set and
// macroButton is a button (0 or more), the macro that the profile's MacroCall binding
// of that button names is sent first, if it still exists; whatever happens to the
// macro, the button table is sent next. The caller clears its
// macroDirty and sets macroButton to -1 afterwards. The result is sendButtons'.
bool setButtons(int profile, bool macroDirty, int macroButton);
// The same for every button in `macroButtons`: the macro each of them plays in the
// profile goes out first (a button that plays none is skipped), then the table.
bool setButtons(int profile, const std::set<int>& macroButtons);
// The profile push: the macro of every button the profile binds to one, then the table,
// so that a profile switch or an edited macro reaches the mouse.
bool setButtonsWithAllMacros(int profile);

} // namespace corvane::protocol
