#pragma once

#include "exchange/ExchangeStatus.h"

#include <QString>

#include <vector>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::exchange {

// Macro files: a single-macro file (root macro, macroinfo, macroitems) and an
// all-macros file (root macro, one macro_item per macro). Written as UTF-8 with the
// declaration line, one element per line and CR LF line ends; read forward only.

// A macro an import added: what the macro lists append (text, data).
struct ImportedMacro {
    int id = 0;
    QString name;
};

struct MacroImportResult {
    ExchangeStatus status = ExchangeStatus::StoreFailed;
    std::vector<ImportedMacro> macros; // in file order
    int refused = 0; // macros left out because a setting or a step broke the value rules
};

struct MacroImportOptions {
    // The device type the macros are imported for; no macro rule depends on it today.
    int deviceType = 0;
};

// Writes one macro and its steps. shownName, when not empty, is written in place of
// the stored name (the macro list shows some names translated). NotFound when the
// macro does not exist.
ExchangeStatus exportMacro(store::ProfileDatabase& database, int macroId, const QString& path,
                           const QString& shownName = {});
// Writes every macro of the store with its steps, in the store's order.
ExchangeStatus exportAllMacros(store::ProfileDatabase& database, const QString& path);

// Imports a single-macro file as a new macro (a new id; names may repeat). A file
// without macroinfo (an all-macros file, a damaged one) imports nothing (WrongLayout).
MacroImportResult importMacroFile(store::ProfileDatabase& database, const QString& path,
                                  const MacroImportOptions& options = {});
// Imports every macro_item of an all-macros file as new macros. A file of the other
// layout holds none and imports nothing (Done, no macro).
MacroImportResult importAllMacrosFile(store::ProfileDatabase& database, const QString& path,
                                      const MacroImportOptions& options = {});

// Both imports are one store step: when any write fails, no macro of the file stays
// and the result is StoreFailed.

} // namespace corvane::exchange
