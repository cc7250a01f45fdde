#include "bus/BusTypes.h"

#include <QDBusMetaType>

namespace corvane::bus {

QDBusArgument& operator<<(QDBusArgument& out, const RuleEntry& rule) {
    out.beginStructure();
    out << rule.profile << rule.app;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, RuleEntry& rule) {
    in.beginStructure();
    in >> rule.profile >> rule.app;
    in.endStructure();
    return in;
}

void registerBusTypes() {
    qDBusRegisterMetaType<RuleEntry>();
    qDBusRegisterMetaType<RuleList>();
    qDBusRegisterMetaType<MouseList>();
}

} // namespace corvane::bus
