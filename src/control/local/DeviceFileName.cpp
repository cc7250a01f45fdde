#include "control/local/DeviceFileName.h"

namespace corvane::control {

QString deviceFileName(const QString& deviceName) {
    if (deviceName.isEmpty())
        return QStringLiteral("Corvane");
    if (deviceName == u"." || deviceName == u"..")
        return QString(deviceName.size(), u'_');
    QString name = deviceName;
    for (QChar& c : name) {
        if (c == u'/' || c == QChar(0))
            c = u'_';
    }
    return name;
}

} // namespace corvane::control
