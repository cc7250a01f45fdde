#pragma once

#include <QString>

namespace corvane::control {

// The few per-user choices that survive between runs ("LCID", "DeviceType",
// "exit_mode", "autorun_minimize"), each a decimal text.
class UserValues {
public:
    virtual ~UserValues() = default;

    // The stored number (leading-digits conversion); 0 when the value is missing, empty
    // or not a number. "LCID" reads 2052 when the values cannot be opened or created.
    virtual int readUserValue(const QString& name) = 0;

    // Stores the text; false (and nothing changed) when it cannot be stored.
    virtual bool writeUserValue(const QString& name, const QString& text) = 0;
};

} // namespace corvane::control
