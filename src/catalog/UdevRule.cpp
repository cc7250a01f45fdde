#include "catalog/UdevRule.h"

#include <set>
#include <utility>

namespace corvane::catalog {
namespace {

QString lowerHex(int id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

QString connectionOf(int mode) {
    return mode == 1 ? QStringLiteral("2.4 GHz receiver") : QStringLiteral("USB cable");
}

} // namespace

QString udevRuleLine(int vendorId, int productId) {
    return QStringLiteral(
               "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
               "TAG+=\"uaccess\"")
        .arg(lowerHex(vendorId), lowerHex(productId));
}

QString udevRuleText(const DeviceCatalog& catalog, const QString& header) {
    QString text = header;
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    if (!text.isEmpty())
        text += u'\n';
    std::set<std::pair<int, int>> written;
    for (const DeviceMode& mode : catalog.modes) {
        if (!written.insert({mode.vid, mode.pid}).second)
            continue;
        // A name is the user's text: keep it on its comment line.
        QString name = mode.device.name;
        name.replace(u'\n', u' ').replace(u'\r', u' ');
        text += QStringLiteral("# %1, %2\n").arg(name, connectionOf(mode.mode));
        text += udevRuleLine(mode.vid, mode.pid) + u'\n';
    }
    return text;
}

} // namespace corvane::catalog
