#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace corvane::bus {

// One rule on the bus: (profile, application), signature (is).
struct RuleEntry {
    int profile = 0;
    QString app;
    bool operator==(const RuleEntry&) const = default;
};
using RuleList = QList<RuleEntry>;
using MouseList = QList<QVariantMap>;

QDBusArgument& operator<<(QDBusArgument& out, const RuleEntry& rule);
const QDBusArgument& operator>>(const QDBusArgument& in, RuleEntry& rule);

// Makes the types above known to QtDBus; once per process is enough, more is harmless.
void registerBusTypes();

} // namespace corvane::bus

Q_DECLARE_METATYPE(corvane::bus::RuleEntry)
