#include "store/AppList.h"

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

} // namespace corvane::store
