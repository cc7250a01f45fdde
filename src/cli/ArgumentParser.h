#pragma once

#include "control/requests/Request.h"

#include <QString>
#include <QStringList>

namespace corvane::cli {

// What the command line asks for.
struct ParsedCommandLine {
    enum class Kind {
        Run,     // run `request`
        Help,    // print `text` (the help asked for) and end with 0
        Version, // print the version and end with 0
        Usage,   // print `text` (the usage error) on stderr and end with 2
    };
    Kind kind = Kind::Usage;
    control::Request request;
    QString text;
    bool virtualMouse = false;
    bool verbose = false;
};

// `arguments` as QCoreApplication::arguments() gives them (the program first).
// Operands that name files are made absolute against `currentFolder`.
ParsedCommandLine parseCommandLine(const QStringList& arguments, const QString& currentFolder);

} // namespace corvane::cli
