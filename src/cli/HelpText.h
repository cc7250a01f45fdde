#pragma once
// The --help texts, the manual page and the bash completion, all made from the command
// table.

#include "cli/CommandTable.h"

#include <QString>
#include <QStringList>

namespace corvane::cli {

QString generalHelp();
// The help of a command with actions ("set", "profile", "macro").
QString commandGroupHelp(const QString& command);
QString commandHelp(const CommandEntry& entry);
QStringList actionsOf(const QString& command);

// "corvanectl set dpi [options] [DPI]"
QString synopsisOf(const CommandEntry& entry);

// The manual page corvanectl(1) in roff, dated `date` (YYYY-MM-DD), for `version`.
QString manualPage(const QString& version, const QString& date);
// A bash completion script for corvanectl.
QString bashCompletion();

} // namespace corvane::cli
