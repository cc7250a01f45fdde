#include "exchange/ExchangeFile.h"
#include "exchange/MacroElements.h"
#include "exchange/MacroFile.h"

#include "store/ProfileDatabase.h"

#include <mutex>

namespace corvane::exchange {

namespace {

const QString kRoot = QStringLiteral("macro");

} // namespace

ExchangeStatus exportMacro(store::ProfileDatabase& database, int macroId, const QString& path,
                           const QString& shownName) {
    FileMacro macro;
    {
        std::lock_guard lock(database.mutex()); // header and steps of one moment
        if (!database.getMacro(macroId, macro.macro)) {
            return database.isOpen() ? ExchangeStatus::NotFound : ExchangeStatus::StoreFailed;
        }
        database.listMacroEvents(macroId, macro.steps);
    }
    if (!shownName.isEmpty()) {
        macro.macro.name = shownName;
    }
    xml::MarkupDocument document = newExchangeDocument();
    document.addElem(kRoot);
    document.intoElem();
    document.addElem(QStringLiteral("macroinfo"));
    writeMacroAttributes(document, macro.macro);
    document.addElem(QStringLiteral("macroitems"));
    document.intoElem();
    writeSteps(document, macro.steps);
    return saveExchangeFile(path, document);
}

ExchangeStatus exportAllMacros(store::ProfileDatabase& database, const QString& path) {
    std::vector<FileMacro> macros;
    {
        std::lock_guard lock(database.mutex());
        if (!database.isOpen()) {
            return ExchangeStatus::StoreFailed;
        }
        std::vector<store::MacroDefinition> definitions;
        database.listMacros(definitions);
        for (store::MacroDefinition& definition : definitions) {
            FileMacro& macro = macros.emplace_back();
            database.listMacroEvents(definition.id, macro.steps);
            macro.macro = std::move(definition);
        }
    }
    xml::MarkupDocument document = newExchangeDocument();
    document.addElem(kRoot);
    document.intoElem();
    for (const FileMacro& macro : macros) {
        writeMacroItem(document, macro);
    }
    return saveExchangeFile(path, document);
}

} // namespace corvane::exchange
