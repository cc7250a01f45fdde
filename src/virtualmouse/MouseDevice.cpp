#include "virtualmouse/MouseDevice.h"

#include "virtualmouse/CommandRules.h"
#include "virtualmouse/ReportLog.h"

namespace corvane::vm {

MouseDevice::MouseDevice(std::shared_ptr<Bus> bus, Ids ids, MouseIdentity identity,
                         std::vector<NodeLayout> nodes, std::string pathTag)
    : VirtualDevice(std::move(bus), ids, std::move(nodes), std::move(pathTag)),
      identity_(std::move(identity)) {}

std::vector<NodeLayout> MouseDevice::standardInterfaces(CommandCollection command,
                                                        bool withBootloader) {
    constexpr std::uint8_t kSharedCommandId = 0x03;
    const bool shared = command.placement != CommandPlacement::OwnNode;
    const std::uint8_t commandId =
        shared && command.reportId == 0 ? kSharedCommandId : command.reportId;
    const CollectionLayout commands{InterfaceKind::Command, command.usagePage,
                                    command.usage,          commandId,
                                    command.reportLength,   command.reportLength};
    const std::uint8_t sharedId = shared ? 1 : 0;

    // Buttons, X, Y and wheel in; keys in and the keyboard's LEDs out; media keys in.
    NodeLayout mouse{{InterfaceKind::Mouse, 0x0001, 0x0002, 0, 4, 0}};
    NodeLayout keyboard{{InterfaceKind::Keyboard, 0x0001, 0x0006, 0, 8, 1}};
    std::vector<NodeLayout> nodes;
    switch (command.placement) {
    case CommandPlacement::OwnNode:
        nodes = {mouse, keyboard, {commands}};
        break;
    case CommandPlacement::WithMouse:
        mouse.front().reportId = sharedId;
        mouse.push_back(commands);
        nodes = {mouse, keyboard};
        break;
    case CommandPlacement::WithKeyboard:
        keyboard.front().reportId = sharedId;
        keyboard.push_back({InterfaceKind::Consumer, 0x000C, 0x0001, 2, 2, 0});
        keyboard.push_back(commands);
        nodes = {mouse, keyboard};
        break;
    }
    if (withBootloader) {
        nodes.push_back({{InterfaceKind::Bootloader, 0xFFEF, 0x0000, kBootReportId,
                          kBootPacketLength - 1, kBootPacketLength - 1}});
    }
    return nodes;
}

MouseIdentity MouseDevice::identity() const {
    auto lock = lockBus();
    return identity_;
}

void MouseDevice::setBattery(std::uint8_t status, std::uint8_t level) {
    auto lock = lockBus();
    identity_.batteryStatus = status;
    identity_.batteryLevel = level;
}

std::optional<MouseSettings::Kept> MouseDevice::kept(std::uint8_t writeCode) const {
    auto lock = lockBus();
    return settings_.kept(writeCode);
}

bool MouseDevice::setKept(std::uint8_t writeCode, const MouseSettings::Kept& state) {
    auto lock = lockBus();
    return settings_.setKept(writeCode, state);
}

bool MouseDevice::setFactory(std::uint8_t writeCode, const MouseSettings::Kept& state) {
    auto lock = lockBus();
    return settings_.setFactory(writeCode, state);
}

std::vector<std::uint8_t> MouseDevice::macro(int buttonIndex) const {
    auto lock = lockBus();
    return settings_.macro(buttonIndex);
}

HeldSettings MouseDevice::held() const {
    auto lock = lockBus();
    return readHeldSettings(settings_, identity_.sensorCode);
}

std::vector<MacroStep> MouseDevice::heldMacro(int buttonIndex) const {
    auto lock = lockBus();
    return readMacroSteps(settings_.macro(buttonIndex));
}

int MouseDevice::lastLightControl() const {
    auto lock = lockBus();
    return settings_.lastLightControl();
}

int MouseDevice::factoryResets() const {
    auto lock = lockBus();
    return settings_.factoryResets();
}

bool MouseDevice::pressDpiButton() {
    auto lock = lockBus();
    if (!mouseReachableLocked()) {
        return false;
    }
    InputReport notice{};
    notice[0] = kDpiNotice;
    notice[1] = settings_.stepDpiStage();
    sendInputLocked(InterfaceKind::Command, notice);
    return true;
}

InputReport MouseDevice::infoLocked() const {
    InputReport info = answerReport(command::GetInfo, kStatusOk);
    for (std::size_t i = 0; i < 4 && i < identity_.deviceId.size(); ++i) {
        info[4 + i] = static_cast<std::uint8_t>(identity_.deviceId[i]);
    }
    const bool reachable = mouseReachableLocked();
    info[10] = identity_.sensorCode;
    info[11] = identity_.reportRateClass;
    info[12] = reachable ? identity_.batteryStatus : 0;
    info[13] = reachable ? identity_.batteryLevel : 0;
    info[14] = reachable ? 1 : 0;
    return info;
}

std::optional<InputReport> MouseDevice::answerOwnLocked(const CommandBody& body) {
    if (body[0] == command::GetInfo) {
        return infoLocked();
    }
    return std::nullopt;
}

std::optional<InputReport> MouseDevice::answerLocked(const CommandBody& body) {
    if (!isWellFormed(body)) {
        return answerReport(body[0], kStatusRejected);
    }
    if (std::optional<InputReport> own = answerOwnLocked(body)) {
        return own;
    }
    if (!mouseReachableLocked()) {
        return std::nullopt; // nobody to pass the command to
    }
    const InputReport answer = settings_.handle(body);
    if (answer[1] == kStatusOk && !isReadCommand(body[0]))
        publishHeldLocked();
    return answer;
}

void MouseDevice::publishHeldLocked() const {
    std::vector<std::vector<MacroStep>> macros;
    for (int button = 0; button < static_cast<int>(HeldSettings{}.buttons.size()); ++button)
        macros.push_back(readMacroSteps(settings_.macro(button)));
    writeHeldState(ids().vendorId, ids().productId,
                   heldStateText(readHeldSettings(settings_, identity_.sensorCode), macros));
}

} // namespace corvane::vm
