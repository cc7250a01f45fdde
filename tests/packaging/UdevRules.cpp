#include "UdevRules.h"

#include <QRegularExpression>
#include <QStringList>

#include <map>

namespace corvane::packaging {
namespace {

struct Match {
    QString key;
    QString op;
    QString value;
};

// One rule line as key/operator/value triples; false when the line is not a
// comma-separated list of KEY{attr}op"value".
bool splitRule(const QString& line, std::vector<Match>& out) {
    static const QRegularExpression item(
        QStringLiteral(R"re(^\s*([A-Z_]+(?:\{[^}]*\})?)\s*(==|!=|\+=|-=|:=|=)\s*"([^"]*)"\s*$)re"));
    for (const QString& part : line.split(u',')) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch())
            return false;
        out.push_back({m.captured(1), m.captured(2), m.captured(3)});
    }
    return true;
}

bool lowercaseHexId(const QString& text, int& id) {
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{4}$"));
    if (!hex.match(text).hasMatch())
        return false;
    id = text.toInt(nullptr, 16);
    return true;
}

QString idText(const UsbId& id) {
    return QStringLiteral("%1:%2")
        .arg(id.first, 4, 16, QChar(u'0'))
        .arg(id.second, 4, 16, QChar(u'0'));
}

} // namespace

std::vector<QString> udevRuleFaults(const QString& rulesText, const std::set<UsbId>& wanted) {
    std::vector<QString> faults;
    std::map<UsbId, int> lines; // id -> number of lines naming it
    const QStringList textLines = rulesText.split(u'\n');
    for (qsizetype n = 0; n < textLines.size(); ++n) {
        const QString line = textLines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(n + 1);

        std::vector<Match> matches;
        if (!splitRule(line, matches)) {
            faults.push_back(where + QStringLiteral("not a udev rule"));
            continue;
        }
        std::map<QString, Match> byKey;
        for (const Match& m : matches)
            if (!byKey.emplace(m.key, m).second)
                faults.push_back(where + m.key + QStringLiteral(" given twice"));

        const auto expect = [&](const char* key, const char* op, const char* value) {
            const auto it = byKey.find(QString::fromLatin1(key));
            if (it == byKey.end() || it->second.op != QLatin1String(op) ||
                (value && it->second.value != QLatin1String(value)))
                faults.push_back(where + QStringLiteral("needs %1%2\"%3\"")
                                             .arg(QLatin1String(key), QLatin1String(op),
                                                  QLatin1String(value ? value : "...")));
        };
        expect("SUBSYSTEM", "==", "hidraw");
        expect("ATTRS{idVendor}", "==", nullptr);
        expect("ATTRS{idProduct}", "==", nullptr);
        expect("TAG", "+=", "uaccess");
        if (byKey.size() != 4)
            faults.push_back(where + QStringLiteral("holds other keys"));

        int vendor = 0;
        int product = 0;
        const auto vendorIt = byKey.find(QStringLiteral("ATTRS{idVendor}"));
        const auto productIt = byKey.find(QStringLiteral("ATTRS{idProduct}"));
        if (vendorIt == byKey.end() || productIt == byKey.end())
            continue;
        if (!lowercaseHexId(vendorIt->second.value, vendor) ||
            !lowercaseHexId(productIt->second.value, product)) {
            faults.push_back(where + QStringLiteral("ids must be four lowercase hex digits"));
            continue;
        }
        ++lines[{vendor, product}];
    }

    for (const UsbId& id : wanted) {
        const auto it = lines.find(id);
        if (it == lines.end())
            faults.push_back(QStringLiteral("no rule for ") + idText(id));
        else if (it->second > 1)
            faults.push_back(QStringLiteral("more than one rule for ") + idText(id));
    }
    for (const auto& [id, count] : lines)
        if (!wanted.contains(id))
            faults.push_back(QStringLiteral("rule for ") + idText(id) +
                             QStringLiteral(", which config.xml does not name"));
    return faults;
}

} // namespace corvane::packaging
