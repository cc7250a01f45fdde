#pragma once
// Writes down every org.freedesktop.DBus.Properties.PropertiesChanged a service sends.

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace corvane::test {

class PropertiesRecorder : public QObject {
    Q_OBJECT
public:
    struct Change {
        QString interface;
        QVariantMap changed;
    };

    bool listen(QDBusConnection bus, const QString& service, const QString& path) {
        return bus.connect(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                           QStringLiteral("PropertiesChanged"), this,
                           SLOT(record(QString, QVariantMap, QStringList)));
    }

    std::vector<Change> changes;

    // The last value announced for a property, invalid when none was.
    QVariant last(const QString& property) const {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
            if (it->changed.contains(property))
                return it->changed.value(property);
        }
        return {};
    }

private slots:
    void record(const QString& interface, const QVariantMap& changed, const QStringList&) {
        changes.push_back({interface, changed});
    }
};

} // namespace corvane::test
