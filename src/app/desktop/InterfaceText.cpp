#include "app/desktop/InterfaceText.h"

#include <QRegularExpression>

#include <optional>

namespace corvane::app {

namespace {

constexpr unsigned usbBus = 0x0003;

struct HidIds {
    unsigned bus;
    unsigned vendor;
    unsigned product;
};

std::optional<unsigned> hexValue(QStringView text, unsigned limit) {
    bool ok = false;
    const unsigned value = text.toUInt(&ok, 16);
    if (!ok || value > limit)
        return std::nullopt;
    return value;
}

std::optional<HidIds> idsOf(QStringView bus, QStringView vendor, QStringView product) {
    const auto b = hexValue(bus, 0xFFFF);
    const auto v = hexValue(vendor, 0xFFFF);
    const auto p = hexValue(product, 0xFFFF);
    if (!b || !v || !p)
        return std::nullopt;
    return HidIds{*b, *v, *p};
}

// "0003:00001209:00000001"
std::optional<HidIds> idsOfHidId(const QString& hidId) {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9A-Fa-f]{1,8}):([0-9A-Fa-f]{1,8}):([0-9A-Fa-f]{1,8})$"));
    const auto match = pattern.match(hidId.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return idsOf(match.capturedView(1), match.capturedView(2), match.capturedView(3));
}

const QRegularExpression& hidFolderPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9A-Fa-f]{4}):([0-9A-Fa-f]{4}):([0-9A-Fa-f]{4})\\.[0-9A-Fa-f]+$"));
    return pattern;
}

// A USB interface folder, "<bus>-<port>[.<port>...]:<configuration>.<interface>", the
// interface number in decimal.
const QRegularExpression& usbInterfaceFolderPattern() {
    static const QRegularExpression pattern(QStringLiteral("^\\d+-[\\d.]+:\\d+\\.(\\d+)$"));
    return pattern;
}

struct PathFacts {
    std::optional<HidIds> ids;
    std::optional<unsigned> interfaceNumber;
};

// The hid device folder and the nearest USB interface folder above it.
PathFacts factsOfDevPath(const QString& devPath) {
    PathFacts facts;
    std::optional<unsigned> lastInterface;
    for (QStringView folder : QStringView(devPath).split(u'/', Qt::SkipEmptyParts)) {
        if (const auto usb = usbInterfaceFolderPattern().match(folder); usb.hasMatch()) {
            bool ok = false;
            const unsigned number = usb.capturedView(1).toUInt(&ok, 10);
            lastInterface = ok && number <= 0xFF ? std::optional(number) : std::nullopt;
            continue;
        }
        if (const auto hid = hidFolderPattern().match(folder); hid.hasMatch()) {
            facts.ids = idsOf(hid.capturedView(1), hid.capturedView(2), hid.capturedView(3));
            facts.interfaceNumber = lastInterface;
            break;
        }
    }
    return facts;
}

QString hex(unsigned value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QChar(u'0')).toUpper();
}

} // namespace

QString interfaceTextOf(const HidrawEvent& event) {
    const PathFacts fromPath = factsOfDevPath(event.devPath);
    std::optional<HidIds> ids = idsOfHidId(event.hidId);
    if (!ids)
        ids = fromPath.ids;
    if (!ids)
        return {};

    QString text = QStringLiteral("HID#VID_") + hex(ids->vendor, 4) + QStringLiteral("&PID_") +
                   hex(ids->product, 4);
    if (ids->bus == usbBus) {
        std::optional<unsigned> number;
        if (!event.interfaceNumber.trimmed().isEmpty())
            number = hexValue(QStringView(event.interfaceNumber).trimmed(), 0xFF);
        if (!number)
            number = fromPath.interfaceNumber;
        if (number)
            text += QStringLiteral("&MI_") + hex(*number, 2);
    }
    const QString node = event.devNode.section(u'/', -1);
    if (!node.isEmpty())
        text += u'#' + node;
    return text;
}

} // namespace corvane::app
