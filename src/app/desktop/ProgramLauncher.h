#pragma once

#include <QString>
#include <QStringList>

namespace corvane::app {

// Finds and starts outside programs; tests put a recorder in its place.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The full path of a program on PATH, or empty.
    virtual QString findExecutable(const QString& name) const = 0;
    // Starts the program on its own (it outlives us); false when it cannot start.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

// QStandardPaths::findExecutable and QProcess::startDetached.
class SystemProgramLauncher : public ProgramLauncher {
public:
    QString findExecutable(const QString& name) const override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

} // namespace corvane::app
