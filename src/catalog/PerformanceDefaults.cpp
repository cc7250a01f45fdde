#include "catalog/PerformanceDefaults.h"

#include "catalog/DeviceDetails.h"
#include "store/ProfileDatabase.h"
#include "store/sqlite/SQLiteAutoTransaction.h"

#include <mutex>

namespace corvane::catalog {

int applyPerformanceDefaults(store::ProfileDatabase& database, const QString& exeFolder,
                             const QString& deviceAttr, int profile, bool dpiOnly) {
    const auto pairs = performanceDefaults(exeFolder, deviceAttr, dpiOnly);
    if (pairs.empty()) {
        return 0;
    }
    std::lock_guard lock(database.mutex());
    if (!database.isOpen()) {
        return 0;
    }
    store::SQLiteAutoTransaction transaction(&database.connection());
    transaction.begin();
    int written = 0;
    for (const auto& [key, value] : pairs) {
        QString stored;
        // setSetting succeeds for a key without a row too; count only real rows.
        if (database.getSetting(profile, key, stored) && database.setSetting(profile, key, value)) {
            ++written;
        }
    }
    transaction.commit();
    return written;
}

int applyPerformanceDefaults(const QString& exeFolder, const QString& deviceAttr, int profile,
                             bool dpiOnly) {
    return applyPerformanceDefaults(store::ProfileDatabase::instance(), exeFolder, deviceAttr,
                                    profile, dpiOnly);
}

} // namespace corvane::catalog
