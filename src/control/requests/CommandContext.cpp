#include "control/requests/CommandContext.h"

#include "control/names/ValueText.h"

namespace corvane::control {

// Text lines go to a terminal: the names in them (profiles, macros, keys' descriptions,
// what the user typed) lose their control characters. JSON and files (printRaw) are
// escaped or written as they are.
void CommandContext::print(const QString& line) {
    answer.out += terminalText(line) + u'\n';
}

void CommandContext::printRaw(const QString& text) {
    answer.out += text;
}

void CommandContext::note(const QString& line) {
    if (request.has(QStringLiteral("verbose")))
        answer.err += QStringLiteral("corvanectl: %1\n").arg(terminalText(line));
}

bool CommandContext::usage(const QString& message) {
    answer.exitCode = ExitCode::Usage;
    answer.err += QStringLiteral("corvanectl: %1\n").arg(terminalText(message));
    return false;
}

bool CommandContext::failure(const QString& message) {
    answer.exitCode = ExitCode::Failure;
    answer.err += QStringLiteral("corvanectl: %1\n").arg(terminalText(message));
    return false;
}

QString CommandContext::text(int id) const {
    return session.text ? session.text(id) : QString();
}

int CommandContext::lcid() const {
    constexpr int kEnglish = 1033;
    return session.lcid ? session.lcid() : kEnglish;
}

bool CommandContext::operand(int index, const QString& what, QString& value) {
    if (index >= request.arguments.size())
        return usage(QStringLiteral("missing %1").arg(what));
    value = request.arguments.at(index);
    return true;
}

bool CommandContext::operandCount(int count) {
    if (request.arguments.size() > count)
        return usage(QStringLiteral("unexpected operand \"%1\"").arg(request.arguments.at(count)));
    return true;
}

} // namespace corvane::control
