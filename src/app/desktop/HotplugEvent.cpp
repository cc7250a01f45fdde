#include "app/desktop/HotplugEvent.h"

#include "app/desktop/InterfaceText.h"

#include <cstring>

namespace corvane::app {

namespace {

QString text(const char* value) {
    return value ? QString::fromUtf8(value) : QString();
}

bool equals(const char* value, const char* expected) {
    return value && std::strcmp(value, expected) == 0;
}

} // namespace

std::optional<HotplugChange> readHotplugEvent(const UdevEvent& event) {
    const bool arrived = equals(event.action(), "add");
    if (!arrived && !equals(event.action(), "remove"))
        return std::nullopt;
    if (!equals(event.subsystem(), "hidraw"))
        return std::nullopt;
    HidrawEvent hidraw;
    hidraw.devPath = text(event.devPath());
    hidraw.devNode = text(event.devNode());
    hidraw.hidId = text(event.hidId());
    hidraw.interfaceNumber = text(event.interfaceNumber());
    const QString interfaceText = interfaceTextOf(hidraw);
    if (interfaceText.isEmpty())
        return std::nullopt;
    return HotplugChange{interfaceText, hidraw.devNode, arrived};
}

} // namespace corvane::app
