#include "control/names/KeyNames.h"

#include <array>

namespace corvane::control {

namespace {

// A run of keys whose usages follow each other: "<prefix><n>" for n from `first`.
struct NumberedRun {
    int firstUsage;
    int count;
    int firstNumber;
    const char* namePrefix;
    const char* labelPrefix;
};

constexpr auto kNumberedRuns = std::to_array<NumberedRun>({
    {30, 9, 1, "", ""},        // 1..9
    {58, 12, 1, "f", "F"},     // F1..F12
    {89, 9, 1, "kp-", "Num "}, // keypad 1..9
    {104, 12, 13, "f", "F"},   // F13..F24
});

struct NamedKey {
    int usage;
    const char* name;
    const char* label;
};

constexpr auto kNamedKeys = std::to_array<NamedKey>({
    {39, "0", "0"},
    {40, "enter", "Enter"},
    {41, "esc", "Esc"},
    {42, "backspace", "Backspace"},
    {43, "tab", "Tab"},
    {44, "space", "Space"},
    {45, "minus", "-"},
    {46, "equal", "="},
    {47, "left-bracket", "["},
    {48, "right-bracket", "]"},
    {49, "backslash", "\\"},
    {50, "hash", "#"},
    {51, "semicolon", ";"},
    {52, "quote", "'"},
    {53, "grave", "`"},
    {54, "comma", ","},
    {55, "period", "."},
    {56, "slash", "/"},
    {57, "caps-lock", "Caps Lock"},
    {70, "print-screen", "Print Screen"},
    {71, "scroll-lock", "Scroll Lock"},
    {72, "pause", "Pause"},
    {73, "insert", "Insert"},
    {74, "home", "Home"},
    {75, "page-up", "Page Up"},
    {76, "delete", "Delete"},
    {77, "end", "End"},
    {78, "page-down", "Page Down"},
    {79, "right", "Right"},
    {80, "left", "Left"},
    {81, "down", "Down"},
    {82, "up", "Up"},
    {83, "num-lock", "Num Lock"},
    {84, "kp-divide", "Num /"},
    {85, "kp-multiply", "Num *"},
    {86, "kp-minus", "Num -"},
    {87, "kp-plus", "Num +"},
    {88, "kp-enter", "Num Enter"},
    {98, "kp-0", "Num 0"},
    {99, "kp-decimal", "Num ."},
    {100, "non-us-backslash", "\\"},
    {101, "menu", "Menu"},
});

// The mouse keys' name texts in the device files.
struct MouseKey {
    int nameTextId;
    const char* name;
};

constexpr auto kMouseKeys = std::to_array<MouseKey>({
    {143, "left"},
    {144, "right"},
    {145, "middle"},
    {146, "back"},
    {147, "forward"},
    {148, "dpi"},
    {149, "key7"},
    {156, "key8"},
});

constexpr int kFirstLetterUsage = 4;
constexpr int kLetters = 26;

} // namespace

std::optional<KeyboardKeyName> keyboardKeyByUsage(int usage) {
    if (usage >= kFirstLetterUsage && usage < kFirstLetterUsage + kLetters) {
        const QChar letter(u'a' + (usage - kFirstLetterUsage));
        return KeyboardKeyName{usage, QString(letter), QString(letter.toUpper())};
    }
    for (const NumberedRun& run : kNumberedRuns) {
        if (usage >= run.firstUsage && usage < run.firstUsage + run.count) {
            const QString number = QString::number(run.firstNumber + usage - run.firstUsage);
            return KeyboardKeyName{usage, QLatin1String(run.namePrefix) + number,
                                   QLatin1String(run.labelPrefix) + number};
        }
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.usage == usage)
            return KeyboardKeyName{usage, QLatin1String(key.name), QLatin1String(key.label)};
    }
    return std::nullopt;
}

std::optional<KeyboardKeyName> keyboardKeyByName(QStringView name) {
    // Every name the table gives is one of the usages 4..115.
    constexpr int kLastUsage = 115;
    for (int usage = kFirstLetterUsage; usage <= kLastUsage; ++usage) {
        std::optional<KeyboardKeyName> key = keyboardKeyByUsage(usage);
        if (key && name.compare(key->name, Qt::CaseInsensitive) == 0)
            return key;
    }
    return std::nullopt;
}

QString mouseKeyName(int nameTextId, int keyValue) {
    for (const MouseKey& key : kMouseKeys) {
        if (key.nameTextId == nameTextId)
            return QLatin1String(key.name);
    }
    return QStringLiteral("key%1").arg(keyValue);
}

} // namespace corvane::control
