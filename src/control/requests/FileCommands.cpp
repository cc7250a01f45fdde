// corvanectl profile export and import, macro export and import: the files the profile
// pop-up and the macro page read and write.
#include "control/names/BindingRules.h"
#include "control/names/FunctionNames.h"
#include "control/names/ValueText.h"
#include "control/requests/CommandContext.h"
#include "control/requests/ProfileChoice.h"
#include "exchange/MacroFile.h"
#include "exchange/ProfileFile.h"
#include "protocol/worker/DeviceTask.h"
#include "protocol/worker/WorkerHost.h"
#include "protocol/worker/WorkerState.h"
#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace corvane::control {

namespace {

using exchange::ExchangeStatus;
constexpr int kProfileWordText = 61;

// What went wrong with a file, and whose fault it is: a file named on the command line
// that cannot be used is a usage error; a store or disk that fails is a failure.
bool fileProblem(CommandContext& context, ExchangeStatus status, const QString& path,
                 const QString& kind) {
    switch (status) {
    case ExchangeStatus::Done:
        return true;
    case ExchangeStatus::FileMissing:
        return context.usage(QStringLiteral("%1: no such file").arg(path));
    case ExchangeStatus::FileTooLarge:
        return context.usage(QStringLiteral("%1: too large for a %2 file").arg(path, kind));
    case ExchangeStatus::FileUnreadable:
        return context.usage(QStringLiteral("%1: cannot be read").arg(path));
    case ExchangeStatus::NotWellFormed:
    case ExchangeStatus::WrongLayout:
        return context.usage(QStringLiteral("%1: not a %2 file").arg(path, kind));
    case ExchangeStatus::NotFound:
        return context.usage(QStringLiteral("no such %1").arg(kind));
    case ExchangeStatus::WriteFailed:
        return context.failure(QStringLiteral("%1: cannot be written").arg(path));
    case ExchangeStatus::StoreFailed:
        break;
    }
    return context.failure(QStringLiteral("the profile store cannot be read or written"));
}

// Writes an export to `path`, or for "-" to a file of a private temporary folder whose
// text then goes to stdout (a pipe, a backup script).
ExchangeStatus exportTo(CommandContext& context, const QString& path,
                        const std::function<ExchangeStatus(const QString&)>& write) {
    if (path != kStandardStream)
        return write(path);
    const QTemporaryDir folder;
    if (!folder.isValid())
        return ExchangeStatus::WriteFailed;
    const QString staged = folder.filePath(QStringLiteral("export.xml"));
    const ExchangeStatus status = write(staged);
    if (status != ExchangeStatus::Done)
        return status;
    QFile file(staged);
    if (!file.open(QIODevice::ReadOnly))
        return ExchangeStatus::WriteFailed;
    context.printRaw(QString::fromUtf8(file.readAll())); // the files are UTF-8
    return ExchangeStatus::Done;
}

QString deviceNameOf(const CommandContext& context) {
    const std::optional<catalog::DeviceDescription> description =
        catalog::findDescription(context.session.catalog, context.deviceType);
    return description ? description->name : QString();
}

void reportRefused(CommandContext& context, int refused, const QString& what) {
    if (refused > 0)
        context.answer.err +=
            QStringLiteral("corvanectl: warning: %1 %2 left out: %3\n")
                .arg(refused)
                .arg(refused == 1 ? QStringLiteral("value was") : QStringLiteral("values were"),
                     what);
}

} // namespace

void runProfileExport(CommandContext& context) {
    QString number;
    QString path;
    int profile = 0;
    if (!context.operand(0, QStringLiteral("the profile number"), number) ||
        !context.operand(1, QStringLiteral("the file"), path) || !context.operandCount(2) ||
        !chooseProfile(context, number, profile))
        return;
    // A profile the lighting page has not shown yet has no light rows; show reports the
    // default rows the page would write, and the file must carry those, not an empty
    // lighting that imports as "off". They are kept only when the file was written: a
    // refused export leaves the store as it was.
    store::StoreTransaction step(context.database);
    if (context.details.hasLighting)
        context.database.createDefaultLights(profile, context.details.lightEffects);
    exchange::ProfileExportOptions options;
    options.hasLighting = context.details.hasLighting;
    options.profileWord = context.text(kProfileWordText);
    options.origin = {context.deviceType, deviceNameOf(context)};
    const ExchangeStatus status = exportTo(context, path, [&](const QString& target) {
        return exchange::exportProfile(context.database, profile, target, options);
    });
    if (status != ExchangeStatus::Done)
        step.rollback();
    else if (!step.commit())
        return (void)fileProblem(context, ExchangeStatus::StoreFailed, path,
                                 QStringLiteral("profile"));
    fileProblem(context, status, path, QStringLiteral("profile"));
}

void runProfileImport(CommandContext& context) {
    QString path;
    if (!context.operand(0, QStringLiteral("the file"), path) || !context.operandCount(1))
        return;
    // A file made for another model would give this mouse keys and values it may not have.
    const std::optional<exchange::FileOrigin> origin = exchange::readProfileOrigin(path);
    if (origin && origin->deviceType > 0 && origin->deviceType != context.deviceType &&
        !context.request.has(QStringLiteral("force")))
        return (void)context.usage(
            QStringLiteral("%1 was made for %2, not for %3; add --force to import it anyway")
                .arg(path,
                     origin->deviceName.isEmpty()
                         ? QStringLiteral("device type %1").arg(origin->deviceType)
                         : origin->deviceName,
                     deviceNameOf(context)));
    // The lighting page writes a profile's light rows when it first shows it; the file's
    // lights go into those rows. Written in the import's step: a refused file leaves the
    // store as it was.
    store::StoreTransaction step(context.database);
    if (context.details.hasLighting)
        context.database.createDefaultLights(context.profile, context.details.lightEffects);
    exchange::ProfileImportOptions options;
    options.hasLighting = context.details.hasLighting;
    options.sensorId = context.state.sensorId();
    options.takesBinding = [&keys = context.details.keys](const store::ButtonBinding& binding) {
        return isAssignableBinding(binding, keys);
    };
    exchange::ProfileImportResult result =
        exchange::importProfile(context.database, context.profile, path, options);
    if (result.status != ExchangeStatus::Done)
        step.rollback();
    else if (!step.commit())
        result.status = ExchangeStatus::StoreFailed;
    if (!fileProblem(context, result.status, path, QStringLiteral("profile")))
        return;
    reportRefused(context, result.refused, QStringLiteral("the mouse does not take them"));
    if (context.session.showProfileName)
        context.session.showProfileName();
    context.pages |= protocol::Page::Macros | protocol::Page::Buttons;
    // As the window does: each key that now plays a macro asks for it, and the push sends
    // those macros before the key table (once each).
    if (!result.pushProfile)
        return;
    protocol::WorkerState& state = context.state;
    context.queueAfter(
        [&state, keys = result.macroKeys] {
            for (int key : keys)
                state.requestMacroDownload(key);
        },
        protocol::DeviceTask::PushProfile);
}

void runMacroExport(CommandContext& context) {
    const bool all = context.request.has(QStringLiteral("all"));
    QString name;
    QString path;
    if (all) {
        if (!context.operand(0, QStringLiteral("the file"), path) || !context.operandCount(1))
            return;
        fileProblem(context,
                    exportTo(context, path,
                             [&](const QString& target) {
                                 return exchange::exportAllMacros(context.database, target);
                             }),
                    path, QStringLiteral("macro"));
        return;
    }
    if (!context.operand(0, QStringLiteral("the macro's name"), name) ||
        !context.operand(1, QStringLiteral("the file"), path) || !context.operandCount(2))
        return;
    std::vector<store::MacroDefinition> macros;
    context.database.listMacros(macros);
    const MacroChoice choice = chooseMacro(name, macros);
    if (!choice.macro)
        return (void)context.usage(choice.error);
    const int id = choice.macro->id;
    fileProblem(context,
                exportTo(context, path,
                         [&](const QString& target) {
                             return exchange::exportMacro(context.database, id, target);
                         }),
                path, QStringLiteral("macro"));
}

void runMacroImport(CommandContext& context) {
    QString path;
    if (!context.operand(0, QStringLiteral("the file"), path) || !context.operandCount(1))
        return;
    const exchange::MacroImportOptions options{context.deviceType};
    // A file holds one macro or all of them; the single layout is tried first.
    exchange::MacroImportResult result = exchange::importMacroFile(context.database, path, options);
    if (result.status == ExchangeStatus::WrongLayout)
        result = exchange::importAllMacrosFile(context.database, path, options);
    if (!fileProblem(context, result.status, path, QStringLiteral("macro")))
        return;
    // Nothing came in: a script must not read that as an import.
    if (result.macros.empty() && result.refused > 0)
        return (void)context.failure(
            QStringLiteral("%1: no macro imported; the %2 in it %3 the rules (play count 1 to "
                           "255, known step types and values)")
                .arg(path,
                     result.refused == 1 ? QStringLiteral("macro")
                                         : QStringLiteral("%1 macros").arg(result.refused),
                     result.refused == 1 ? QStringLiteral("breaks") : QStringLiteral("break")));
    if (result.refused > 0)
        context.answer.err += QStringLiteral("corvanectl: warning: %1 macro%2 left out: %3\n")
                                  .arg(result.refused)
                                  .arg(result.refused == 1 ? QString() : QStringLiteral("s"),
                                       QStringLiteral("their settings or steps break the rules"));
    for (const exchange::ImportedMacro& macro : result.macros)
        context.note(QStringLiteral("imported macro %1: %2").arg(macro.id).arg(macro.name));
    context.pages |= protocol::Page::Macros | protocol::Page::Buttons;
}

} // namespace corvane::control
