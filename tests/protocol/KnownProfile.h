#pragma once

#include <QString>

#include <vector>

#include "protocol/codec/BindingType.h"
#include "protocol/codec/MacroStream.h"
#include "protocol/transport/SettingValues.h"
#include "store/ProfileDatabase.h"

namespace corvane::protocol::testing {

// The profile the golden dumps under data/golden/ were written for. The comment at the
// top of each dump repeats what it covers.
struct KnownProfile {
    int macroButton = 1;     // plays a macro of ten records (two packets)
    int goneMacroButton = 4; // bound to a macro that was deleted since
    int macroId = 0;
    int goneMacroId = 0;

    // Performance settings: five stages, stage 2 active; stage values that the
    // sensor's limits and steps must bound (12500 lies between two steps of sensor
    // 0x11, 30000 is above its limit, "abc" reads as 0); six colours; 2000 Hz; lift-off
    // 2 with sensor option bits 16 and 8; the power options.
    static void storePerformance(store::ProfileDatabase& db, int profile) {
        db.setSetting(profile, keys::dpiCount, 5);
        db.setSetting(profile, keys::dpiIndex, 2);
        const char* values[] = {"400", "800", "12500", "15000", "30000", "abc"};
        for (int k = 0; k < kDpiStages; ++k) {
            db.setSetting(profile, keys::dpiValue[k], QString::fromLatin1(values[k]));
        }
        const int colors[] = {255, 16711680, 65280, 0x123456, 16711935, 0};
        for (int k = 0; k < kDpiStages; ++k) {
            db.setSetting(profile, keys::dpiColor[k], colors[k]);
        }
        db.setSetting(profile, keys::reportRate, 16);
        db.setSetting(profile, keys::liftoffHeight, 2);
        db.setSetting(profile, keys::sensorFlag, 24);
        db.setSetting(profile, keys::sleepLight, 36);
        db.setSetting(profile, keys::moveWakeup, 1);
        db.setSetting(profile, keys::moveCloseLight, 0);
        db.setSetting(profile, keys::buttonResponseTime, 12);
    }

    static store::MacroEvent event(int macroId, int index, MacroEventType type, int value) {
        store::MacroEvent e;
        e.macroId = macroId;
        e.index = index;
        e.type = static_cast<int>(type);
        e.value = value;
        e.timestamp = 1000 + index;
        return e;
    }

    // Shift+A, a left click, F5 and keypad 7, with delays before, between and after.
    static std::vector<store::MacroEvent> macroEvents(int macroId) {
        using T = MacroEventType;
        const std::pair<T, int> steps[] = {
            {T::Delay, 30},   {T::KeyDown, 160}, {T::KeyDown, 65},   {T::Delay, 20},
            {T::KeyUp, 65},   {T::KeyUp, 160},   {T::ButtonDown, 1}, {T::Delay, 100},
            {T::ButtonUp, 1}, {T::KeyDown, 116}, {T::KeyUp, 116},    {T::KeyDown, 103},
            {T::KeyUp, 103},  {T::Delay, 15},
        };
        std::vector<store::MacroEvent> events;
        int index = 0;
        for (const auto& [type, value] : steps) {
            events.push_back(event(macroId, index++, type, value));
        }
        return events;
    }

    static void bind(store::ProfileDatabase& db, int profile, int keyCode, BindingType type,
                     int value, int value2 = 0) {
        store::ButtonBinding b;
        b.profile = profile;
        b.keyCode = keyCode;
        b.macroType = static_cast<int>(type);
        b.macroValue = value;
        b.macroValue2 = value2;
        b.macroDesc = QStringLiteral("function");
        db.saveBinding(b);
    }

    // One binding of every kind on buttons 1..9 (button 0 keeps its default).
    void storeBindings(store::ProfileDatabase& db, int profile) {
        macroId = db.createMacro(QStringLiteral("Shift A click F5"));
        store::MacroDefinition macro;
        db.getMacro(macroId, macro);
        macro.playType = 0;
        macro.playTimes = 3;
        db.updateMacro(macroId, macro);
        db.insertMacroEvents(macroEvents(macroId));

        goneMacroId = db.createMacro(QStringLiteral("Gone"));
        db.insertMacroEvents({event(goneMacroId, 0, MacroEventType::KeyDown, 65)});

        using T = BindingType;
        bind(db, profile, macroButton, T::MacroCall, macroId);
        bind(db, profile, 2, T::KeyboardKey, 4, 0x01); // Ctrl + A
        bind(db, profile, 3, T::MediaFunction, 6);     // volume up
        bind(db, profile, goneMacroButton, T::MacroCall, goneMacroId);
        bind(db, profile, 5, T::DpiFunction, 1);    // DPI +
        bind(db, profile, 6, T::SystemFunction, 3); // calculator
        bind(db, profile, 7, T::Disabled, 1);
        bind(db, profile, 8, T::RepeatFunction, 50, 3);
        bind(db, profile, 9, T::MouseFunction, 7); // beyond the bytes the report carries

        db.deleteMacro(goneMacroId);
    }

    // The default light rows, with mode 2 and mode 3 changed: mode 2 with brightness 3,
    // speed 2 and seven colours; mode 3 with brightness 20 and speed 7 (both above what
    // a nibble holds for brightness) and the colour 0x123456.
    static void storeLights(store::ProfileDatabase& db, int profile) {
        db.createDefaultLights(profile, {true, true, true, true, true, false});
        store::LightEffect light;
        db.getLight(profile, 2, light);
        light.brightness = 3;
        light.speed = 2;
        light.colorValues = {255, 65280, 16711680, 0x123456, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
        db.updateLight(2, light);
        db.getLight(profile, 3, light);
        light.brightness = 20;
        light.speed = 7;
        light.colorValues[0] = 0x123456;
        db.updateLight(3, light);
    }
};

} // namespace corvane::protocol::testing
