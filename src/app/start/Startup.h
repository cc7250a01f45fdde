#pragma once
// app/start: main() to exit: command line, one instance, folders, language, process objects.

#include <QString>

namespace corvane::app {

// The program: start-up, the main window's run, and the end. Returns the exit code
// (0, also when another instance was running and was asked to show itself).
int runProgram(int argc, char** argv);

// Logs the display-scaling decision for the primary screen.
void logDpiRule();

// Reads config.xml of the program folder into the process-wide state (languages,
// provisional language, product name) and hands the name to the widget layer.
void readStartupConfig(const QString& exeFolder);

} // namespace corvane::app
