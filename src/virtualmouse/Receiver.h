#pragma once

#include "virtualmouse/MouseDevice.h"

namespace corvane::vm {

struct ReceiverConfig {
    std::uint16_t vendorId = 0x1209;
    std::uint16_t productId = 0xC0A2;
    std::uint16_t releaseNumber = 0x0102;
    // The paired wireless mouse; GetInfo reports its identifier even while it is off.
    MouseIdentity mouse{"CV01", 0x11, 0x20, 1, 80};
    bool linked = true;
    std::uint8_t versionMajor = 0x01;
    std::uint8_t versionMinor = 0x05;
    CommandCollection command;
    bool withBootloader = false;
    std::string pathTag;
};

// A 2.4 GHz receiver with its paired wireless mouse. It answers GetInfo (connected
// flag 0 while the mouse is not linked) and GetReceiverVersion itself; other commands
// reach the mouse only while it is linked and go unanswered otherwise. Linking and
// unlinking send a connection notice (0xC0). Create it with VirtualMouse::addReceiver.
class Receiver final : public MouseDevice {
public:
    Receiver(std::shared_ptr<Bus> bus, const ReceiverConfig& config);

    // The mouse wakes up / goes to sleep or out of range: a notice C0 01 level status,
    // or C0 00 00 00.
    void link();
    void unlink();
    bool isLinked() const;
    // A connection notice with any content, the link state following byte 1.
    void sendConnectionNotice(std::uint8_t state, std::uint8_t batteryLevel,
                              std::uint8_t batteryStatus);

protected:
    bool mouseReachableLocked() const override { return linked_; }
    std::optional<InputReport> answerOwnLocked(const CommandBody& body) override;

private:
    bool linked_;
    std::uint8_t versionMajor_;
    std::uint8_t versionMinor_;
};

} // namespace corvane::vm
