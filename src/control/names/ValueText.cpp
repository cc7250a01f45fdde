#include "control/names/ValueText.h"

#include <array>

namespace corvane::control {

namespace {

struct SwitchWord {
    const char* word;
    bool on;
};

constexpr auto kSwitchWords = std::to_array<SwitchWord>({
    {"on", true},
    {"off", false},
    {"1", true},
    {"0", false},
    {"yes", true},
    {"no", false},
    {"true", true},
    {"false", false},
});

constexpr int kColourDigits = 6;

} // namespace

std::optional<int> parseNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 11)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool sign = i == 0 && (c == u'-' || c == u'+') && text.size() > 1;
        if (!sign && (c < u'0' || c > u'9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> parseSwitch(QStringView text) {
    for (const SwitchWord& word : kSwitchWords) {
        if (text.compare(QLatin1String(word.word), Qt::CaseInsensitive) == 0)
            return word.on;
    }
    return std::nullopt;
}

QString switchText(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

std::optional<int> parseColour(QStringView text) {
    if (text.startsWith(u'#'))
        text = text.mid(1);
    if (text.size() != kColourDigits)
        return std::nullopt;
    bool ok = false;
    const int rgb = text.toInt(&ok, 16);
    if (!ok || text.contains(u'+') || text.contains(u'-'))
        return std::nullopt;
    const int red = (rgb >> 16) & 0xFF;
    const int green = (rgb >> 8) & 0xFF;
    const int blue = rgb & 0xFF;
    return red | (green << 8) | (blue << 16);
}

QString colourText(int storedColour) {
    const int red = storedColour & 0xFF;
    const int green = (storedColour >> 8) & 0xFF;
    const int blue = (storedColour >> 16) & 0xFF;
    return QStringLiteral("#%1")
        .arg((red << 16) | (green << 8) | blue, kColourDigits, 16, QLatin1Char('0'))
        .toUpper();
}

QStringList splitList(const QString& text) {
    return text.split(u',');
}

QString choiceList(const QStringList& choices) {
    if (choices.size() <= 1)
        return choices.join(QString());
    return choices.mid(0, choices.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           choices.last();
}

QString terminalText(QStringView text) {
    QString shown = text.toString();
    for (QChar& c : shown) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            c = u'?';
    }
    return shown;
}

} // namespace corvane::control
