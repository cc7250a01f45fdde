#pragma once
// Writes a device type's factory performance values into one profile of the store.

#include <QString>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::catalog {

// Writes the pairs of performanceDefaults(exeFolder, deviceAttr, dpiOnly) into the
// settings of `profile` with the store's settings update (a setting the profile has no
// row for stays unwritten). The writes run as one transaction under the store's lock,
// so the other thread never sees half the stages restored. Returns the number of
// settings written; 0 when the device file cannot be read (nothing is written then).
int applyPerformanceDefaults(store::ProfileDatabase& database, const QString& exeFolder,
                             const QString& deviceAttr, int profile, bool dpiOnly);

// The same on the process-wide store.
int applyPerformanceDefaults(const QString& exeFolder, const QString& deviceAttr, int profile,
                             bool dpiOnly);

} // namespace corvane::catalog
