#include "cli/ArgumentParser.h"

#include "cli/CommandTable.h"
#include "cli/HelpText.h"
#include "control/requests/Request.h"

#include <QCommandLineParser>
#include <QDir>

namespace corvane::cli {

namespace {

using Kind = ParsedCommandLine::Kind;

ParsedCommandLine usageError(const QString& message) {
    ParsedCommandLine result;
    result.kind = Kind::Usage;
    result.text = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                      .arg(QLatin1String(kProgramName), message);
    return result;
}

ParsedCommandLine help(const QString& text) {
    ParsedCommandLine result;
    result.kind = Kind::Help;
    result.text = text;
    return result;
}

bool hasCommandWithActions(const QString& command) {
    for (const CommandEntry& entry : commandEntries()) {
        if (command == QLatin1String(entry.command) && entry.action[0] != '\0')
            return true;
    }
    return false;
}

bool isKnownCommand(const QString& command) {
    for (const CommandEntry& entry : commandEntries()) {
        if (command == QLatin1String(entry.command))
            return true;
    }
    return false;
}

// -h or --help among the words after the command (not after "--", where every word is an
// operand).
bool asksForHelp(const QStringList& words) {
    for (const QString& word : words) {
        if (word == u"--")
            return false;
        if (word == u"-h" || word == u"--help")
            return true;
    }
    return false;
}

QCommandLineOption optionOf(const OptionEntry& entry) {
    const QString name = QLatin1String(entry.name);
    if (entry.valueName)
        return QCommandLineOption(name, QLatin1String(entry.description),
                                  QLatin1String(entry.valueName));
    return QCommandLineOption(name, QLatin1String(entry.description));
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments, const QString& currentFolder) {
    // [global switches] COMMAND [ACTION] [options and operands]
    QStringList words = arguments.mid(1);
    QStringList leading;
    while (!words.isEmpty() && words.first().startsWith(u'-'))
        leading << words.takeFirst();

    bool wantsHelp = false;
    bool virtualMouse = false;
    bool verbose = false;
    for (const QString& option : leading) {
        if (option == u"--help" || option == u"-h")
            wantsHelp = true;
        else if (option == u"--version")
            return ParsedCommandLine{Kind::Version, {}, {}, false, false};
        else if (option == u"--virtual-mouse")
            virtualMouse = true;
        else if (option == u"--verbose")
            verbose = true;
        else
            return usageError(QStringLiteral("unknown option '%1'").arg(option));
    }
    if (words.isEmpty())
        return wantsHelp ? help(generalHelp()) : usageError(QStringLiteral("no command given"));

    const QString command = words.takeFirst();
    if (!isKnownCommand(command))
        return usageError(QStringLiteral("unknown command '%1'").arg(command));
    QString action;
    if (hasCommandWithActions(command)) {
        if (words.isEmpty() || words.first().startsWith(u'-')) {
            if (wantsHelp || asksForHelp(words))
                return help(commandGroupHelp(command));
            return usageError(QStringLiteral("%1 needs one of: %2")
                                  .arg(command, actionsOf(command).join(QStringLiteral(", "))));
        }
        action = words.takeFirst();
    }
    const CommandEntry* entry =
        findCommand(command.toUtf8().constData(), action.toUtf8().constData());
    if (!entry)
        return usageError(QStringLiteral("unknown command '%1 %2'").arg(command, action));
    if (wantsHelp || asksForHelp(words))
        return help(commandHelp(*entry));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionEntry& option : globalOptions())
        parser.addOption(optionOf(option));
    for (const OptionEntry& option : entry->options)
        parser.addOption(optionOf(option));
    QStringList toParse{arguments.first()};
    toParse << words;
    if (!parser.parse(toParse))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        return help(commandHelp(*entry));
    if (parser.isSet(QStringLiteral("version")))
        return ParsedCommandLine{Kind::Version, {}, {}, false, false};

    QStringList operands = parser.positionalArguments();
    const QString name = action.isEmpty() ? command : command + u' ' + action;
    if (operands.size() < entry->minOperands)
        return usageError(
            QStringLiteral("%1: missing operand (%2)").arg(name, QLatin1String(entry->operands)));
    if (operands.size() > entry->maxOperands)
        return usageError(QStringLiteral("%1: unexpected operand '%2'")
                              .arg(name, operands.at(entry->maxOperands)));
    // "-" is standard input or output, not a file of that name.
    if (entry->lastOperandIsFile && !operands.isEmpty() &&
        operands.last() != control::kStandardStream)
        operands.last() = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(operands.last()));

    ParsedCommandLine result;
    result.kind = Kind::Run;
    result.virtualMouse = virtualMouse || parser.isSet(QStringLiteral("virtual-mouse"));
    result.verbose = verbose || parser.isSet(QStringLiteral("verbose"));
    result.request.command = command;
    result.request.action = action;
    result.request.arguments = operands;
    for (const OptionEntry& option : entry->options) {
        const QString optionName = QLatin1String(option.name);
        if (parser.isSet(optionName))
            result.request.options.insert(optionName,
                                          option.valueName ? parser.value(optionName) : QString());
    }
    if (result.verbose)
        result.request.options.insert(QStringLiteral("verbose"), QString());
    return result;
}

} // namespace corvane::cli
