#pragma once

#include "app/start/UserValues.h"

#include <QString>

namespace corvane::app {

// One argument of a desktop entry's Exec line: left as it is when it has no reserved
// character, else enclosed in double quotes with '"', '`', '$' and '\' escaped by a
// backslash. Percent signs are doubled (they would start a field code).
QString desktopExecArgument(const QString& argument);

// A value as a desktop entry string: backslash, line feed, tab and carriage return
// written as \\, \n, \t, \r.
QString desktopStringValue(const QString& value);

// The session autostart entry that starts the executable with " -autorun".
QString autostartEntryText(const QString& deviceName, const QString& executablePath);

// <configHome>/autostart/<device>.desktop
QString autostartEntryPathFor(const QString& configHome, const QString& deviceName);

// Start with the desktop session through an XDG autostart entry.
class Autostart {
public:
    Autostart(QString entryPath, QString deviceName, QString executablePath, UserValues& values);

    // On: writes the entry (atomically, creating the autostart folder). Off: stores
    // "autorun_minimize" = "0" and removes the entry; an entry that is not there is fine.
    bool setAutorun(bool on);

    // The entry exists, holds an Exec line, and the desktop has not switched it off
    // (Hidden=true or X-GNOME-Autostart-enabled=false, as session settings tools write).
    bool isEnabled() const;

    const QString& entryPath() const { return path; }

private:
    QString path;
    QString name;
    QString executable;
    UserValues& userValues;
};

} // namespace corvane::app
