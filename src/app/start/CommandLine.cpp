#include "app/start/CommandLine.h"

namespace corvane::app {

LaunchOptions parseCommandLine(const QStringList& arguments) {
    LaunchOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.contains(QStringLiteral("-hide"), Qt::CaseSensitive))
            options.startHidden = true;
        if (argument == QStringLiteral("--virtual-mouse"))
            options.virtualMouse = true;
    }
    return options;
}

} // namespace corvane::app
