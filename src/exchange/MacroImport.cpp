#include "exchange/ExchangeFile.h"
#include "exchange/MacroElements.h"
#include "exchange/MacroFile.h"

#include "store/ProfileDatabase.h"
#include "store/StoreTransaction.h"

namespace corvane::exchange {

namespace {

// Loads the file and steps into its macro root; the status of a file that has none.
ExchangeStatus openMacroRoot(const QString& path, xml::MarkupDocument& document) {
    const ExchangeStatus loaded = loadExchangeFile(path, document);
    if (loaded != ExchangeStatus::Done) {
        return loaded;
    }
    if (!document.findElem(QStringLiteral("macro"))) {
        return ExchangeStatus::WrongLayout;
    }
    document.intoElem();
    return ExchangeStatus::Done;
}

// Stores the macros that follow the rules, all in one store step.
MacroImportResult storeMacros(store::ProfileDatabase& database,
                              const std::vector<FileMacro>& macros) {
    MacroImportResult result;
    store::StoreTransaction step(database);
    if (!step.isActive()) {
        return result;
    }
    for (const FileMacro& macro : macros) {
        if (!followsMacroRules(macro)) {
            ++result.refused;
            continue;
        }
        const int id = storeMacro(database, macro);
        if (id == 0) {
            result.macros.clear(); // the step is undone: no macro of the file stays
            return result;
        }
        result.macros.push_back({id, macro.macro.name});
    }
    if (!step.commit()) {
        result.macros.clear();
        return result;
    }
    result.status = ExchangeStatus::Done;
    return result;
}

} // namespace

MacroImportResult importMacroFile(store::ProfileDatabase& database, const QString& path,
                                  const MacroImportOptions& /*options*/) {
    xml::MarkupDocument document;
    MacroImportResult result;
    result.status = openMacroRoot(path, document);
    if (result.status != ExchangeStatus::Done) {
        return result;
    }
    if (!document.findElem(QStringLiteral("macroinfo"))) {
        result.status = ExchangeStatus::WrongLayout;
        return result;
    }
    FileMacro macro;
    macro.macro = readMacroAttributes(document);
    if (document.findElem(QStringLiteral("macroitems"))) {
        document.intoElem();
        macro.steps = readSteps(document);
        document.outOfElem();
    }
    if (!withinMacroLimits({macro})) {
        result.status = ExchangeStatus::WrongLayout;
        return result;
    }
    return storeMacros(database, {macro});
}

MacroImportResult importAllMacrosFile(store::ProfileDatabase& database, const QString& path,
                                      const MacroImportOptions& /*options*/) {
    xml::MarkupDocument document;
    MacroImportResult result;
    result.status = openMacroRoot(path, document);
    if (result.status != ExchangeStatus::Done) {
        return result;
    }
    const std::vector<FileMacro> macros = readMacroItems(document);
    if (!withinMacroLimits(macros)) {
        result.status = ExchangeStatus::WrongLayout;
        return result;
    }
    return storeMacros(database, macros);
}

} // namespace corvane::exchange
