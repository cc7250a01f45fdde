#pragma once
// The commands and options of corvanectl, as data: the parser, every --help text, the
// manual page and the bash completion are all made from this one table.

#include <span>

namespace corvane::cli {

struct OptionEntry {
    const char* name;        // without the leading "--"
    const char* valueName;   // nullptr for a switch
    const char* description; // one sentence
};

struct CommandEntry {
    const char* command;
    const char* action;   // "" when the command has no second word
    const char* operands; // the operand part of the synopsis, "" for none
    int minOperands;
    int maxOperands;
    bool lastOperandIsFile; // the last operand names a file (made absolute)
    const char* summary;    // one line
    const char* details;    // paragraphs separated by "\n\n"; may be empty
    std::span<const OptionEntry> options;
    // Completion words for the first operand ("keys", "functions", "modes", "profiles",
    // "rates", "files" or "").
    const char* firstOperandWords;
    const char* secondOperandWords;
};

std::span<const CommandEntry> commandEntries();
// Options every command takes.
std::span<const OptionEntry> globalOptions();

const CommandEntry* findCommand(const char* command, const char* action);

inline constexpr char kProgramName[] = "corvanectl";

// The general description and the sections the help and the manual page share.
extern const char* const kDescription;
extern const char* const kHandoverText;
extern const char* const kExitStatusText;
extern const char* const kJsonText;
// Five real examples: command line and what it does.
struct Example {
    const char* commandLine;
    const char* explanation;
};
std::span<const Example> examples();

} // namespace corvane::cli
