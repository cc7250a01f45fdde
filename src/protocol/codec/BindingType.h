#pragma once

namespace corvane::protocol {

// The kind of function a button binding holds (its macro_type); what each value
// means is listed with the button page's function catalogue.
enum class BindingType : int {
    MouseFunction = 1,
    KeyboardKey = 2,
    MediaFunction = 3,
    MacroCall = 4,
    DpiFunction = 5,
    DeviceFunction = 6,
    RepeatFunction = 7,
    SystemFunction = 8,
    Disabled = 9,
};

} // namespace corvane::protocol
