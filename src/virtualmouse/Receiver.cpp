#include "virtualmouse/Receiver.h"

namespace corvane::vm {

namespace {
constexpr std::uint8_t kLinked = 0x01;
}

Receiver::Receiver(std::shared_ptr<Bus> bus, const ReceiverConfig& config)
    : MouseDevice(std::move(bus), {config.vendorId, config.productId, config.releaseNumber},
                  config.mouse, standardInterfaces(config.command, config.withBootloader),
                  config.pathTag),
      linked_(config.linked), versionMajor_(config.versionMajor),
      versionMinor_(config.versionMinor) {}

void Receiver::link() {
    auto lock = lockBus();
    linked_ = true;
    InputReport notice{};
    notice[0] = kConnectionNotice;
    notice[1] = kLinked;
    notice[2] = identity_.batteryLevel;
    notice[3] = identity_.batteryStatus;
    sendInputLocked(InterfaceKind::Command, notice);
}

void Receiver::unlink() {
    sendConnectionNotice(0x00, 0, 0);
}

void Receiver::sendConnectionNotice(std::uint8_t state, std::uint8_t batteryLevel,
                                    std::uint8_t batteryStatus) {
    auto lock = lockBus();
    linked_ = state == kLinked;
    InputReport notice{};
    notice[0] = kConnectionNotice;
    notice[1] = state;
    notice[2] = batteryLevel;
    notice[3] = batteryStatus;
    sendInputLocked(InterfaceKind::Command, notice);
}

bool Receiver::isLinked() const {
    auto lock = lockBus();
    return linked_;
}

std::optional<InputReport> Receiver::answerOwnLocked(const CommandBody& body) {
    if (body[0] == command::GetReceiverVersion) {
        InputReport answer = answerReport(body[0], kStatusOk);
        answer[4] = versionMajor_;
        answer[5] = versionMinor_;
        answer[31] = static_cast<std::uint8_t>(versionMajor_ + versionMinor_);
        return answer;
    }
    return MouseDevice::answerOwnLocked(body);
}

} // namespace corvane::vm
