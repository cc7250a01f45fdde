// Any bytes as an all-macros file, imported into a store; whatever was added must
// follow the macro rules, and the store is put back after each input.

#include "FuzzStore.h"

#include "exchange/MacroFile.h"

using namespace corvane::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareStore();
    const QString path = fuzz::inputFile(data, size);
    corvane::store::StoreTransaction undo(fuzz::db());
    const int deviceType = size % 2 == 0 ? 0 : 201;
    const MacroImportResult result = importAllMacrosFile(fuzz::db(), path, {deviceType});
    fuzz::check(result.status == ExchangeStatus::Done || result.macros.empty(),
                "nothing on failure");
    std::vector<corvane::store::MacroDefinition> macros;
    fuzz::check(fuzz::db().listMacros(macros) == 3 + int(result.macros.size()), "macros counted");
    fuzz::checkMacros();
    return 0;
}
