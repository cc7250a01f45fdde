#include "store/AppList.h"

#include "store/ProfileDatabase.h"

#include <algorithm>

namespace corvane::store {

QStringList parseAppList(const QString& stored) {
    QStringList apps;
    for (const QString& line : stored.split(u'\n')) {
        const QString app = line.trimmed();
        if (!app.isEmpty())
            apps.append(app);
    }
    return apps;
}

QString formatAppList(const QStringList& apps) {
    QStringList kept;
    for (const QString& app : apps) {
        QString name = app;
        name.replace(u'\r', u' ').replace(u'\n', u' ');
        name = name.trimmed();
        if (!name.isEmpty() && !kept.contains(name, Qt::CaseInsensitive))
            kept.append(name);
    }
    return kept.join(u'\n');
}

bool isValidAppName(const QString& app) {
    const QString name = app.trimmed();
    return !name.isEmpty() && name.size() <= kMaxAppNameLength &&
           std::none_of(name.begin(), name.end(), [](QChar c) {
               return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                      c == QChar::ParagraphSeparator;
           });
}

bool giveAppsToProfile(ProfileDatabase& database, int profile, const QStringList& apps,
                       std::vector<int>* movedFrom) {
    const QStringList given = parseAppList(formatAppList(apps));
    std::vector<ProfileRecord> profiles;
    database.listProfiles(profiles);
    std::vector<int> moved;
    for (const ProfileRecord& other : profiles) {
        if (other.id == profile)
            continue;
        QString stored;
        database.getProfileApps(other.id, stored);
        QStringList kept = parseAppList(stored);
        const auto taken = kept.removeIf(
            [&](const QString& app) { return given.contains(app, Qt::CaseInsensitive); });
        if (taken == 0)
            continue;
        if (!database.setProfileApps(other.id, formatAppList(kept)))
            return false;
        moved.push_back(other.id);
    }
    if (!database.setProfileApps(profile, formatAppList(given)))
        return false;
    if (movedFrom)
        *movedFrom = std::move(moved);
    return true;
}

} // namespace corvane::store
