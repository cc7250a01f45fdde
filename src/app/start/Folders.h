#pragma once

#include "control/local/ProgramFolders.h"

#include <QString>

namespace corvane::app {

// Where the program's files and the user's data live (the folders corvanectl needs as
// well are decided in control/ProgramFolders).
using control::configHome;
using control::dataFolderFor;
using control::dataHome;
using control::ensureDirectory;
using control::executablePath;
using control::exeFolder;
using control::exeFolderFor;
using control::xdgFolderFor;

// <exeFolder>/skins/<theme>/ (with a trailing slash; "default" when theme is empty).
QString skinFolderFor(const QString& exeFolder, const QString& themeName);

// Uses the theme name of appState().
QString skinFolder();
// Uses the deviceName of appState().
QString dataFolder();

} // namespace corvane::app
