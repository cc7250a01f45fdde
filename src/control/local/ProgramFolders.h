#pragma once

#include <QString>

namespace corvane::control {

// Where the program's files and the user's data live, for the window and corvanectl
// alike. The *For functions decide from their inputs only; the plain ones read the
// running process and its environment.

// The program folder, without a trailing slash: the executable's own folder when it
// holds config.xml (a build tree), else ../share/corvane beside the bin/ folder that
// holds the executable (an installation).
QString exeFolderFor(const QString& executablePath);

// A base folder from an XDG variable: the variable when it holds an absolute path,
// else <home>/<fallback> (relative values are invalid and ignored).
QString xdgFolderFor(const QString& variableValue, const QString& home, const QString& fallback);

// <dataHome>/<device> Files/ (with a trailing slash); its db/ and temp/ hold the
// database files and downloads.
QString dataFolderFor(const QString& dataHome, const QString& deviceName);

// Creates the folder and every missing parent; true when it is a folder afterwards.
bool ensureDirectory(const QString& path);

// The running executable (resolved /proc/self/exe).
QString executablePath();
// $XDG_CONFIG_HOME, default ~/.config
QString configHome();
// $XDG_DATA_HOME, default ~/.local/share
QString dataHome();

QString exeFolder();

} // namespace corvane::control
