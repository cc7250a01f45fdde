#pragma once

#include <string>

#include "virtualmouse/HeldSettings.h"
#include "virtualmouse/MouseSettings.h"
#include "virtualmouse/VirtualDevice.h"

namespace corvane::vm {

// What GetInfo tells about a mouse.
struct MouseIdentity {
    std::string deviceId = "CV01"; // up to four ASCII characters
    std::uint8_t sensorCode = 0x11;
    std::uint8_t reportRateClass = 0x20;
    std::uint8_t batteryStatus = 0;
    std::uint8_t batteryLevel = 0;
};

// Which USB interface carries the command collection.
enum class CommandPlacement {
    OwnNode,      // interface 2, alone
    WithMouse,    // interface 0, beside the mouse collection (report ID 1)
    WithKeyboard, // interface 1, beside the keyboard (ID 1) and media keys (ID 2)
};

// The command collection: where it sits, its usage (some firmware uses 0x0001 /
// 0x0000) and its reports.
struct CommandCollection {
    std::uint16_t usagePage = 0xFF01;
    std::uint16_t usage = 0x0010;
    std::size_t reportLength = 64; // data bytes of its input and output reports
    std::uint8_t reportId = 0;     // 0: unnumbered; beside other collections, 3 then
    CommandPlacement placement = CommandPlacement::OwnNode;
};

// A device that carries a mouse's settings: the wired mouse, and the receiver for its
// wireless mouse. Thread-safe.
class MouseDevice : public VirtualDevice {
public:
    MouseIdentity identity() const;
    void setBattery(std::uint8_t status, std::uint8_t level);

    // The kept parameters B4..B30 (and size byte B3) of a write command.
    std::optional<MouseSettings::Kept> kept(std::uint8_t writeCode) const;
    bool setKept(std::uint8_t writeCode, const MouseSettings::Kept& state);
    bool setFactory(std::uint8_t writeCode, const MouseSettings::Kept& state);
    std::vector<std::uint8_t> macro(int buttonIndex) const;
    // What the firmware runs with, read from what it kept (HeldSettings.h).
    HeldSettings held() const;
    // The steps of the macro kept for this button, empty if none.
    std::vector<MacroStep> heldMacro(int buttonIndex) const;
    int lastLightControl() const;
    int factoryResets() const;

    // The user presses the DPI button: the active stage steps on and a DPI notice
    // (0xC2) goes out. False when the mouse cannot reach the host (not linked).
    bool pressDpiButton();

protected:
    MouseDevice(std::shared_ptr<Bus> bus, Ids ids, MouseIdentity identity,
                std::vector<NodeLayout> nodes, std::string pathTag);

    std::optional<InputReport> answerLocked(const CommandBody& body) override;
    // Whether the mouse itself is reachable (a receiver's mouse may not be linked).
    virtual bool mouseReachableLocked() const { return true; }
    // Commands the device answers itself instead of the mouse.
    virtual std::optional<InputReport> answerOwnLocked(const CommandBody& body);
    InputReport infoLocked() const;
    // Writes what the firmware runs with where the environment asks for it (ReportLog.h).
    void publishHeldLocked() const;

    static std::vector<NodeLayout> standardInterfaces(CommandCollection command,
                                                      bool withBootloader);

    MouseIdentity identity_;
    MouseSettings settings_;
};

} // namespace corvane::vm
