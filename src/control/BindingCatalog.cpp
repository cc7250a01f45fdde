#include "control/BindingCatalog.h"

#include <array>

namespace corvane::control {

namespace {

using protocol::BindingType;
using M = FunctionMenu;

constexpr auto kFunctions = std::to_array<CatalogFunction>({
    {BindingType::MouseFunction, 1, "mouse:left", M::Mouse, 1, 106, nullptr},
    {BindingType::MouseFunction, 3, "mouse:right", M::Mouse, 2, 107, nullptr},
    {BindingType::MouseFunction, 2, "mouse:middle", M::Mouse, 3, 108, nullptr},
    {BindingType::MouseFunction, 5, "mouse:forward", M::Mouse, 4, 109, nullptr},
    {BindingType::MouseFunction, 6, "mouse:back", M::Mouse, 5, 110, nullptr},
    {BindingType::MouseFunction, 4, "mouse:fire", M::Mouse, 6, 180, nullptr},
    {BindingType::MouseFunction, 7, "mouse:wheel-up", M::None, 0, 112, nullptr},
    {BindingType::MouseFunction, 8, "mouse:wheel-down", M::None, 0, 113, nullptr},
    {BindingType::MouseFunction, 9, "mouse:wheel-left", M::None, 0, 114, nullptr},
    {BindingType::MouseFunction, 10, "mouse:wheel-right", M::None, 0, 115, nullptr},

    {BindingType::MediaFunction, 6, "media:volume-up", M::Media, 1, 117, nullptr},
    {BindingType::MediaFunction, 7, "media:volume-down", M::Media, 2, 118, nullptr},
    {BindingType::MediaFunction, 8, "media:mute", M::Media, 3, 119, nullptr},
    {BindingType::MediaFunction, 1, "media:player", M::Media, 4, 120, nullptr},
    {BindingType::MediaFunction, 2, "media:play-pause", M::Media, 5, 121, nullptr},
    {BindingType::MediaFunction, 4, "media:previous", M::Media, 6, 122, nullptr},
    {BindingType::MediaFunction, 5, "media:next", M::Media, 7, 123, nullptr},
    {BindingType::MediaFunction, 3, "media:stop", M::Media, 8, 124, nullptr},

    {BindingType::DpiFunction, 3, "dpi:cycle", M::Dpi, 1, 142, nullptr},
    {BindingType::DpiFunction, 1, "dpi:up", M::Dpi, 2, 0, "DPI +"},
    {BindingType::DpiFunction, 2, "dpi:down", M::Dpi, 3, 0, "DPI -"},

    {BindingType::DeviceFunction, 1, "device:profile", M::Device, 1, 151, nullptr},
    {BindingType::DeviceFunction, 2, "device:rate", M::Device, 2, 181, nullptr},
    {BindingType::DeviceFunction, 3, "device:lighting", M::None, 0, 152, nullptr},
    {BindingType::DeviceFunction, 4, "device:lighting-toggle", M::None, 0, 153, nullptr},
    {BindingType::DeviceFunction, 5, "device:battery", M::None, 0, 154, nullptr},
    {BindingType::DeviceFunction, 6, "device:sleep", M::None, 0, 155, nullptr},

    {BindingType::SystemFunction, 1, "system:brightness-up", M::System, 1, 127, nullptr},
    {BindingType::SystemFunction, 2, "system:brightness-down", M::System, 2, 128, nullptr},
    {BindingType::SystemFunction, 3, "system:calculator", M::System, 3, 129, nullptr},
    {BindingType::SystemFunction, 4, "system:computer", M::System, 4, 130, nullptr},
    {BindingType::SystemFunction, 5, "system:browser-home", M::System, 5, 131, nullptr},
    {BindingType::SystemFunction, 6, "system:email", M::System, 6, 132, nullptr},
    {BindingType::SystemFunction, 7, "system:show-desktop", M::System, 7, 133, nullptr},
    {BindingType::SystemFunction, 8, "system:switch-windows", M::System, 8, 134, nullptr},
    {BindingType::SystemFunction, 9, "system:copy", M::System, 9, 31, nullptr},
    {BindingType::SystemFunction, 11, "system:cut", M::System, 10, 36, nullptr},
    {BindingType::SystemFunction, 10, "system:paste", M::System, 11, 32, nullptr},

    {BindingType::Disabled, 1, "disable", M::None, 0, kDisabledText, nullptr},
});

} // namespace

std::span<const CatalogFunction> catalogFunctions() {
    return kFunctions;
}

const CatalogFunction* findFunction(protocol::BindingType type, int value) {
    for (const CatalogFunction& function : kFunctions) {
        if (function.type == type && function.value == value)
            return &function;
    }
    return nullptr;
}

const CatalogFunction* findFunction(QStringView name) {
    for (const CatalogFunction& function : kFunctions) {
        if (name.compare(QLatin1String(function.name), Qt::CaseInsensitive) == 0)
            return &function;
    }
    return nullptr;
}

} // namespace corvane::control
