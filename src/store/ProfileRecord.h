#pragma once

#include <QString>

namespace corvane::store {

// One row of t_profile_data.
struct ProfileRecord {
    int id = 0;     // AUTOINCREMENT key; ids are never reused
    QString name;   // as stored; profileDisplayName turns it into the shown name
    int status = 0; // 1 for the current profile
    QString app;    // always empty
    int type = 0;   // always 0
};

} // namespace corvane::store
