// Any bytes as a single-macro file, imported into a store; whatever was added must
// follow the macro rules, and the store is put back after each input.

#include "FuzzStore.h"

#include "exchange/MacroFile.h"

using namespace corvane::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareStore();
    const QString path = fuzz::inputFile(data, size);
    corvane::store::StoreTransaction undo(fuzz::db());
    const int deviceType = size % 2 == 0 ? 0 : 201;
    const MacroImportResult result = importMacroFile(fuzz::db(), path, {deviceType});
    fuzz::check(result.status == ExchangeStatus::Done || result.macros.empty(),
                "nothing on failure");
    fuzz::check(result.macros.size() <= 1, "one macro at most");
    fuzz::checkMacros();
    return 0; // undo rolls the import back
}
