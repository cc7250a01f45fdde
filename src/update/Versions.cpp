#include "update/Versions.h"

#include <algorithm>

#include <QList>

namespace corvane::update {

namespace {

constexpr int kProgramVersionMax = 10;
constexpr int kFirmwareVersionMax = 9;

bool isDecimal(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isHex(QChar c) {
    return isDecimal(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The leading digits of `part` (by `isDigit`) without leading zeros, lower case.
template <typename IsDigit> QString significantDigits(QStringView part, IsDigit isDigit) {
    qsizetype end = 0;
    while (end < part.size() && isDigit(part[end])) {
        ++end;
    }
    qsizetype start = 0;
    while (start < end && part[start] == u'0') {
        ++start;
    }
    return part.mid(start, end - start).toString().toLower();
}

// Numbers written as digit texts without leading zeros: the longer one is greater, and
// texts of one length compare as the digits do.
int compareNumbers(const QString& current, const QString& latest) {
    if (current.size() != latest.size()) {
        return latest.size() > current.size() ? 1 : -1;
    }
    const int order = QString::compare(current, latest);
    return order == 0 ? 0 : (order < 0 ? 1 : -1);
}

} // namespace

int compareVersions(QStringView current, QStringView latest) {
    const QList<QStringView> ours = current.split(u'.');
    const QList<QStringView> theirs = latest.split(u'.');
    const qsizetype parts = std::max(ours.size(), theirs.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const QString a = i < ours.size() ? significantDigits(ours[i], isDecimal) : QString();
        const QString b = i < theirs.size() ? significantDigits(theirs[i], isDecimal) : QString();
        if (const int order = compareNumbers(a, b)) {
            return order;
        }
    }
    return 0;
}

int compareFirmwareVersions(QStringView current, QStringView latest) {
    return compareNumbers(significantDigits(current, isHex), significantDigits(latest, isHex));
}

std::optional<QString> programVersionFrom(const QString& answer) {
    const QString text = answer.trimmed();
    if (text.isEmpty() || text.size() > kProgramVersionMax ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return isDecimal(c) || c == u'.'; })) {
        return std::nullopt;
    }
    return text;
}

std::optional<QString> firmwareVersionFrom(const QString& answer) {
    const QString text = answer.trimmed();
    if (text.isEmpty() || text.size() > kFirmwareVersionMax ||
        !std::all_of(text.begin(), text.end(), isHex)) {
        return std::nullopt;
    }
    return text;
}

QString firmwareVersionShown(const QString& version) {
    if (version.size() < 3) {
        return version;
    }
    return version.left(1) + u'.' + version.right(2);
}

} // namespace corvane::update
