#include "app/desktop/ProgramLauncher.h"

#include <QProcess>
#include <QStandardPaths>

namespace corvane::app {

QString SystemProgramLauncher::findExecutable(const QString& name) const {
    return QStandardPaths::findExecutable(name);
}

bool SystemProgramLauncher::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace corvane::app
