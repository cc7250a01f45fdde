#include "control/names/ReleaseText.h"

namespace corvane::control {

QString releaseText(int release) {
    if (release < 0)
        return {};
    const QString digits = QString::number(release, 16).rightJustified(3, u'0');
    return dottedVersion(digits);
}

QString dottedVersion(const QString& versionText) {
    if (versionText.size() < 3)
        return versionText;
    return versionText.left(versionText.size() - 2) + u'.' + versionText.right(2);
}

} // namespace corvane::control
