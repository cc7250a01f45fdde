#include "control/names/BindingCatalog.h"

#include <algorithm>
#include <array>

namespace corvane::control {

namespace {

using M = FunctionMenu;

// type, value, menu, position, label, literal label, description, corvanectl's name
constexpr std::array kCatalog{
    CatalogEntry{1, 1, M::Mouse, 1, 106, nullptr, 106, "mouse:left"},
    CatalogEntry{1, 3, M::Mouse, 2, 107, nullptr, 107, "mouse:right"},
    CatalogEntry{1, 2, M::Mouse, 3, 108, nullptr, 108, "mouse:middle"},
    CatalogEntry{1, 5, M::Mouse, 4, 109, nullptr, 109, "mouse:forward"},
    CatalogEntry{1, 6, M::Mouse, 5, 110, nullptr, 110, "mouse:back"},
    CatalogEntry{1, 4, M::Mouse, 6, 180, nullptr, 180, "mouse:fire"},
    CatalogEntry{1, 7, M::None, 0, 112, nullptr, 112, "mouse:wheel-up"},
    CatalogEntry{1, 8, M::None, 0, 113, nullptr, 113, "mouse:wheel-down"},
    CatalogEntry{1, 9, M::None, 0, 114, nullptr, 114, "mouse:wheel-left"},
    CatalogEntry{1, 10, M::None, 0, 115, nullptr, 115, "mouse:wheel-right"},
    CatalogEntry{2, 0, M::Keyboard, 0, 160, nullptr, 0, nullptr},
    CatalogEntry{3, 6, M::Media, 1, 117, nullptr, 117, "media:volume-up"},
    CatalogEntry{3, 7, M::Media, 2, 118, nullptr, 118, "media:volume-down"},
    CatalogEntry{3, 8, M::Media, 3, 119, nullptr, 119, "media:mute"},
    CatalogEntry{3, 1, M::Media, 4, 120, nullptr, 120, "media:player"},
    CatalogEntry{3, 2, M::Media, 5, 121, nullptr, 121, "media:play-pause"},
    CatalogEntry{3, 4, M::Media, 6, 122, nullptr, 122, "media:previous"},
    CatalogEntry{3, 5, M::Media, 7, 123, nullptr, 123, "media:next"},
    CatalogEntry{3, 3, M::Media, 8, 124, nullptr, 124, "media:stop"},
    CatalogEntry{4, 0, M::Macro, 0, 125, nullptr, 0, nullptr},
    CatalogEntry{5, 3, M::Dpi, 1, 142, nullptr, 0, "dpi:cycle"},
    CatalogEntry{5, 1, M::Dpi, 2, 0, u"DPI +", 0, "dpi:up"},
    CatalogEntry{5, 2, M::Dpi, 3, 0, u"DPI -", 0, "dpi:down"},
    CatalogEntry{6, 1, M::Device, 1, 151, nullptr, 151, "device:profile"},
    CatalogEntry{6, 2, M::Device, 2, 181, nullptr, 181, "device:rate"},
    CatalogEntry{6, 3, M::None, 0, 152, nullptr, 152, "device:lighting"},
    CatalogEntry{6, 4, M::None, 0, 153, nullptr, 153, "device:lighting-toggle"},
    CatalogEntry{6, 5, M::None, 0, 154, nullptr, 154, "device:battery"},
    CatalogEntry{6, 6, M::None, 0, 155, nullptr, 155, "device:sleep"},
    CatalogEntry{7, 0, M::Repeat, 0, 182, nullptr, 161, nullptr},
    CatalogEntry{8, 1, M::System, 1, 127, nullptr, 127, "system:brightness-up"},
    CatalogEntry{8, 2, M::System, 2, 128, nullptr, 128, "system:brightness-down"},
    CatalogEntry{8, 3, M::System, 3, 129, nullptr, 129, "system:calculator"},
    CatalogEntry{8, 4, M::System, 4, 130, nullptr, 130, "system:computer"},
    CatalogEntry{8, 5, M::System, 5, 131, nullptr, 131, "system:browser-home"},
    CatalogEntry{8, 6, M::System, 6, 132, nullptr, 132, "system:email"},
    CatalogEntry{8, 7, M::System, 7, 133, nullptr, 133, "system:show-desktop"},
    CatalogEntry{8, 8, M::System, 8, 134, nullptr, 134, "system:switch-windows"},
    CatalogEntry{8, 9, M::System, 9, 31, nullptr, 31, "system:copy"},
    CatalogEntry{8, 11, M::System, 10, 36, nullptr, 36, "system:cut"},
    CatalogEntry{8, 10, M::System, 11, 32, nullptr, 32, "system:paste"},
    CatalogEntry{9, 0, M::Disable, 0, 139, nullptr, 139, "disable"},
};

// Types whose every value is one entry (value 0 in the table).
bool anyValue(int type) {
    return type == 2 || type == 4 || type == 7 || type == 9;
}

} // namespace

std::span<const CatalogEntry> bindingCatalog() {
    return kCatalog;
}

std::optional<CatalogEntry> findCatalogEntry(int type, int value) {
    const int wanted = anyValue(type) ? 0 : value;
    const auto it = std::find_if(kCatalog.begin(), kCatalog.end(), [&](const CatalogEntry& e) {
        return e.type == type && e.value == wanted;
    });
    if (it == kCatalog.end())
        return std::nullopt;
    return *it;
}

std::optional<CatalogEntry> findCatalogEntry(QStringView name) {
    const auto it = std::find_if(kCatalog.begin(), kCatalog.end(), [&](const CatalogEntry& e) {
        return e.name && name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0;
    });
    if (it == kCatalog.end())
        return std::nullopt;
    return *it;
}

QString catalogLabel(const CatalogEntry& entry, const std::function<QString(int id)>& text) {
    return entry.labelText != 0 ? text(entry.labelText) : QString::fromUtf16(entry.literal);
}

} // namespace corvane::control
