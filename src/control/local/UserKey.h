#pragma once

#include "control/local/UserValues.h"

#include <QString>

namespace corvane::control {

// Per-user values kept in <configHome>/<device>/user.ini, one "name=value" line each.
// The file is the key: a missing file is a missing key. Names compare without regard
// to case. Every write replaces the whole file atomically (temporary file + rename),
// so a crash never leaves a half-written file; lines it does not know are kept.
class UserKey : public UserValues {
public:
    explicit UserKey(QString filePath);

    // <configHome>/<device file name>/user.ini
    static QString filePathFor(const QString& configHome, const QString& deviceName);
    // The key of the running program: $XDG_CONFIG_HOME (or ~/.config) and deviceName.
    static UserKey forDevice(const QString& deviceName);

    int readUserValue(const QString& name) override;
    bool writeUserValue(const QString& name, const QString& text) override;

    const QString& filePath() const { return path; }

private:
    enum class Open { Ok, Missing, Failed };
    Open readLines(QStringList& lines) const;
    bool createKey() const;

    QString path;
};

} // namespace corvane::control
