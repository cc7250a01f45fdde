#include "focus/ProcessName.h"

#include <QFile>
#include <QFileInfo>

namespace corvane::focus {

QString executableName(qint64 pid) {
    if (pid <= 0)
        return {};
    const QString folder = QStringLiteral("/proc/%1/").arg(pid);
    const QString target = QFileInfo(folder + QStringLiteral("exe")).symLinkTarget();
    if (!target.isEmpty())
        return QFileInfo(target).fileName();
    QFile comm(folder + QStringLiteral("comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(comm.read(64)).trimmed();
}

} // namespace corvane::focus
