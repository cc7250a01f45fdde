#include "cli/HelpText.h"

#include "control/names/BindingCatalog.h"
#include "control/names/SettingNames.h"

namespace corvane::cli {

namespace {

constexpr int kWidth = 80;
constexpr int kOptionColumn = 26;

QString wrap(const QString& text, int indent, int width = kWidth) {
    QString out;
    const QString margin(indent, u' ');
    for (const QString& paragraph : text.split(QStringLiteral("\n\n"))) {
        QString line = margin;
        for (const QString& word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            if (line.size() > indent && line.size() + 1 + word.size() > width) {
                out += line + u'\n';
                line = margin;
            }
            if (line.size() > indent)
                line += u' ';
            line += word;
        }
        out += line + QStringLiteral("\n\n");
    }
    out.chop(1);
    return out;
}

QString optionLabel(const OptionEntry& option) {
    QString label = QStringLiteral("--") + QLatin1String(option.name);
    if (option.valueName)
        label += u' ' + QLatin1String(option.valueName);
    return label;
}

QString optionLines(std::span<const OptionEntry> options) {
    QString out;
    for (const OptionEntry& option : options) {
        QString label = QStringLiteral("  ") + optionLabel(option);
        const QString description = wrap(QLatin1String(option.description), kOptionColumn);
        if (label.size() + 2 > kOptionColumn)
            out += label + u'\n' + description;
        else
            out += label.leftJustified(kOptionColumn) + description.mid(kOptionColumn);
    }
    return out;
}

QString nameOf(const CommandEntry& entry) {
    return entry.action[0] ? QStringLiteral("%1 %2").arg(QLatin1String(entry.command),
                                                         QLatin1String(entry.action))
                           : QLatin1String(entry.command);
}

// roff: a backslash and a leading dot or quote must not be read as requests.
QString roff(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\e"));
    escaped.replace(u'-', QStringLiteral("\\-"));
    if (escaped.startsWith(u'.') || escaped.startsWith(u'\''))
        escaped.prepend(QStringLiteral("\\&"));
    return escaped;
}

QString roffParagraphs(const QString& text) {
    QString out;
    for (const QString& paragraph : text.split(QStringLiteral("\n\n")))
        out += QStringLiteral(".PP\n") + roff(paragraph) + u'\n';
    return out;
}

QString roffOptions(std::span<const OptionEntry> options) {
    QString out;
    for (const OptionEntry& option : options) {
        out += QStringLiteral(".TP\n\\fB\\-\\-%1\\fR").arg(roff(QLatin1String(option.name)));
        if (option.valueName)
            out += QStringLiteral(" \\fI%1\\fR").arg(roff(QLatin1String(option.valueName)));
        out += u'\n' + roff(QLatin1String(option.description)) + u'\n';
    }
    return out;
}

QStringList wordsFor(const char* kind) {
    const QString what = QLatin1String(kind);
    QStringList words;
    if (what == u"functions") {
        for (const control::CatalogEntry& entry : control::bindingCatalog()) {
            if (entry.name)
                words << QLatin1String(entry.name);
        }
        words << QStringLiteral("key:") << QStringLiteral("repeat:") << QStringLiteral("macro:");
    } else if (what == u"keys") {
        words << QStringLiteral("left right middle back forward dpi").split(u' ');
    } else if (what == u"modes") {
        for (const control::LightModeName& mode : control::lightModeNames())
            words << QLatin1String(mode.name);
    } else if (what == u"sensor") {
        for (const control::SensorOptionName& option : control::sensorOptionNames())
            words << QLatin1String(option.name) + QStringLiteral("=on")
                  << QLatin1String(option.name) + QStringLiteral("=off");
    } else if (what == u"rates") {
        words << QStringLiteral("125 250 500 1000 2000 4000 8000").split(u' ');
    } else if (what == u"lods") {
        words << QStringLiteral("1") << QStringLiteral("2");
    } else if (what == u"files") {
        words << QStringLiteral("__files__");
    } else if (what == u"profiles") {
        words << QStringLiteral("1 2 3 4").split(u' ');
    }
    return words;
}

} // namespace

QStringList actionsOf(const QString& command) {
    QStringList actions;
    for (const CommandEntry& entry : commandEntries()) {
        if (command == QLatin1String(entry.command) && entry.action[0])
            actions << QLatin1String(entry.action);
    }
    return actions;
}

QString synopsisOf(const CommandEntry& entry) {
    QString synopsis = QLatin1String(kProgramName) + u' ' + nameOf(entry);
    if (!entry.options.empty())
        synopsis += QStringLiteral(" [options]");
    if (entry.operands[0])
        synopsis += u' ' + QLatin1String(entry.operands);
    return synopsis;
}

QString generalHelp() {
    QString out = QStringLiteral("Usage: %1 [--virtual-mouse] [--verbose] COMMAND [ACTION] "
                                 "[options] [operands]\n\n")
                      .arg(QLatin1String(kProgramName));
    out += wrap(QLatin1String(kDescription), 0) + u'\n';
    out += QStringLiteral("Commands:\n");
    for (const CommandEntry& entry : commandEntries()) {
        QString label = QStringLiteral("  ") + nameOf(entry);
        if (entry.operands[0])
            label += u' ' + QLatin1String(entry.operands);
        const QString summary = wrap(QLatin1String(entry.summary), kOptionColumn);
        if (label.size() + 2 > kOptionColumn)
            out += label + u'\n' + summary;
        else
            out += label.leftJustified(kOptionColumn) + summary.mid(kOptionColumn);
    }
    out += QStringLiteral("\nOptions of every command:\n") + optionLines(globalOptions());
    out += u'\n' + wrap(QLatin1String(kHandoverText), 0);
    out += QStringLiteral("\nExit status:\n") + wrap(QLatin1String(kExitStatusText), 2);
    out += QStringLiteral("\n'%1 COMMAND --help' describes a command; man %1 tells more.\n")
               .arg(QLatin1String(kProgramName));
    return out;
}

QString commandGroupHelp(const QString& command) {
    QString out = QStringLiteral("Usage: %1 %2 ACTION [options] [operands]\n\nActions:\n")
                      .arg(QLatin1String(kProgramName), command);
    for (const CommandEntry& entry : commandEntries()) {
        if (command != QLatin1String(entry.command))
            continue;
        const QString label = QStringLiteral("  %1 %2").arg(QLatin1String(entry.action),
                                                            QLatin1String(entry.operands));
        out += label.leftJustified(kOptionColumn) +
               wrap(QLatin1String(entry.summary), kOptionColumn).mid(kOptionColumn);
    }
    out += QStringLiteral("\n'%1 %2 ACTION --help' describes an action.\n")
               .arg(QLatin1String(kProgramName), command);
    return out;
}

QString commandHelp(const CommandEntry& entry) {
    QString out = QStringLiteral("Usage: %1\n\n").arg(synopsisOf(entry));
    out += wrap(QLatin1String(entry.summary), 0) + u'\n';
    if (entry.details[0])
        out += wrap(QLatin1String(entry.details), 0) + u'\n';
    if (!entry.options.empty())
        out += QStringLiteral("Options:\n") + optionLines(entry.options) + u'\n';
    out += QStringLiteral("Options of every command:\n") + optionLines(globalOptions());
    return out;
}

QString manualPage(const QString& version, const QString& date) {
    const QString name = QLatin1String(kProgramName);
    QString out = QStringLiteral(".\\\" Made by %1 --print-man-page from its own option table.\n"
                                 ".TH CORVANECTL 1 \"%2\" \"Corvane %3\" \"User Commands\"\n")
                      .arg(name, date, version);
    out += QStringLiteral(".SH NAME\n%1 \\- read and change the settings of a Corvane mouse\n")
               .arg(name);
    out += QStringLiteral(".SH SYNOPSIS\n.B %1\n[\\fB\\-\\-virtual\\-mouse\\fR] "
                          "[\\fB\\-\\-verbose\\fR] \\fICOMMAND\\fR [\\fIACTION\\fR] "
                          "[\\fIoptions\\fR] [\\fIoperands\\fR]\n")
               .arg(name);
    out += QStringLiteral(".SH DESCRIPTION\n") + roffParagraphs(QLatin1String(kDescription)) +
           roffParagraphs(QLatin1String(kHandoverText));
    out += QStringLiteral(".SH COMMANDS\n");
    for (const CommandEntry& entry : commandEntries()) {
        out += QStringLiteral(".SS \"%1\"\n").arg(roff(synopsisOf(entry)));
        out += roffParagraphs(QLatin1String(entry.summary));
        if (entry.details[0])
            out += roffParagraphs(QLatin1String(entry.details));
        if (!entry.options.empty())
            out += QStringLiteral(".PP\nOptions:\n.RS\n") + roffOptions(entry.options) +
                   QStringLiteral(".RE\n");
    }
    out += QStringLiteral(".SH OPTIONS\nEvery command takes these options.\n") +
           roffOptions(globalOptions());
    out += QStringLiteral(".SH JSON OUTPUT\n") + roffParagraphs(QLatin1String(kJsonText));
    out += QStringLiteral(".SH EXIT STATUS\n") + roffParagraphs(QLatin1String(kExitStatusText));
    out += QStringLiteral(".SH EXAMPLES\n");
    for (const Example& example : examples()) {
        out += QStringLiteral(".TP\n.B %1\n%2\n")
                   .arg(roff(QLatin1String(example.commandLine)),
                        roff(QLatin1String(example.explanation)));
    }
    out += QStringLiteral(".SH ENVIRONMENT\n.TP\n.B XDG_RUNTIME_DIR\nWhere the window's socket "
                          "and lock file are.\n.TP\n.B XDG_DATA_HOME\nWhere the profile store "
                          "is (default ~/.local/share).\n.TP\n.B XDG_CONFIG_HOME\nWhere the "
                          "per-user values are (default ~/.config).\n");
    out += QStringLiteral(".SH SEE ALSO\n.BR corvane (1)\n");
    return out;
}

QString bashCompletion() {
    QString commands;
    QString cases;
    QStringList seen;
    for (const CommandEntry& entry : commandEntries()) {
        const QString command = QLatin1String(entry.command);
        if (!seen.contains(command)) {
            seen << command;
            commands += command + u' ';
        }
        QStringList options;
        for (const OptionEntry& option : entry.options)
            options << QStringLiteral("--") + QLatin1String(option.name);
        for (const OptionEntry& option : globalOptions())
            options << QStringLiteral("--") + QLatin1String(option.name);
        const QString key =
            entry.action[0] ? command + u' ' + QLatin1String(entry.action) : command;
        cases +=
            QStringLiteral("        \"%1\")\n            opts=\"%2\"\n            first=\"%3\"\n"
                           "            second=\"%4\" ;;\n")
                .arg(key, options.join(u' '), wordsFor(entry.firstOperandWords).join(u' '),
                     wordsFor(entry.secondOperandWords).join(u' '));
    }
    QString actions;
    for (const QString& command : seen) {
        const QStringList list = actionsOf(command);
        if (!list.isEmpty())
            actions +=
                QStringLiteral("        %1) actions=\"%2\" ;;\n").arg(command, list.join(u' '));
    }
    // Options that take a value: the word after them is not a command or operand.
    QStringList valueOptions;
    for (const CommandEntry& entry : commandEntries()) {
        for (const OptionEntry& option : entry.options) {
            const QString word = QStringLiteral("--") + QLatin1String(option.name);
            if (option.valueName && !valueOptions.contains(word))
                valueOptions << word;
        }
    }
    QString globals;
    for (const OptionEntry& option : globalOptions())
        globals += QStringLiteral("--") + QLatin1String(option.name) + u' ';

    return QStringLiteral(
               "# bash completion for corvanectl; made by corvanectl --print-bash-completion.\n"
               "_corvanectl()\n"
               "{\n"
               "    local cur i command=\"\" action=\"\" actions=\"\" operands=0\n"
               "    cur=\"${COMP_WORDS[COMP_CWORD]}\"\n"
               "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
               "        case \"${COMP_WORDS[i]}\" in\n"
               "            %5) ((i++)) ;;\n"
               "            -*) ;;\n"
               "            *) if [[ -z $command ]]; then command=${COMP_WORDS[i]}\n"
               "               elif [[ -z $action && -n $(_corvanectl_actions \"$command\") ]]; "
               "then action=${COMP_WORDS[i]}\n"
               "               else ((operands++)); fi ;;\n"
               "        esac\n"
               "    done\n"
               "    if [[ -z $command ]]; then\n"
               "        COMPREPLY=($(compgen -W \"%1 %2\" -- \"$cur\")); return\n"
               "    fi\n"
               "    actions=$(_corvanectl_actions \"$command\")\n"
               "    if [[ -n $actions && -z $action ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$actions --help\" -- \"$cur\")); return\n"
               "    fi\n"
               "    local opts=\"\" first=\"\" second=\"\"\n"
               "    case \"$command${action:+ $action}\" in\n"
               "%3"
               "    esac\n"
               "    local words=\"\"\n"
               "    if [[ $cur == -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\")); return\n"
               "    elif ((operands == 0)); then words=$first\n"
               "    elif ((operands == 1)); then words=$second\n"
               "    fi\n"
               "    if [[ $words == __files__ ]]; then\n"
               "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
               "    else\n"
               "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
               "    fi\n"
               "}\n"
               "_corvanectl_actions()\n"
               "{\n"
               "    local actions=\"\"\n"
               "    case \"$1\" in\n"
               "%4"
               "    esac\n"
               "    echo \"$actions\"\n"
               "}\n"
               "complete -F _corvanectl corvanectl\n")
        .arg(commands.trimmed(), globals.trimmed(), cases, actions, valueOptions.join(u'|'));
}

} // namespace corvane::cli
