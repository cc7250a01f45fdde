#include "control/names/FunctionNames.h"

#include "control/names/BindingCatalog.h"
#include "control/names/KeyNames.h"
#include "control/names/ValueText.h"
#include "protocol/codec/BindingType.h"

namespace corvane::control {

namespace {

using protocol::BindingType;

const QString kKeyPrefix = QStringLiteral("key:");
const QString kRepeatPrefix = QStringLiteral("repeat:");
const QString kMacroPrefix = QStringLiteral("macro:");

ParsedFunction refuse(const QString& why) {
    ParsedFunction parsed;
    parsed.error = why;
    return parsed;
}

ParsedFunction accept(BindingType type, int value, int value2, const QString& description) {
    return {true, QString(), static_cast<int>(type), value, value2, description};
}

ParsedFunction parseKeyboard(QStringView combination) {
    int modifiers = 0;
    std::optional<KeyboardKeyName> key;
    for (QStringView part : combination.split(u'+')) {
        bool isModifier = false;
        for (const ModifierName& modifier : kModifierNames) {
            if (part.compare(QLatin1String(modifier.name), Qt::CaseInsensitive) == 0) {
                modifiers |= modifier.bit;
                isModifier = true;
            }
        }
        if (isModifier)
            continue;
        if (key)
            return refuse(QStringLiteral("a key binding holds one key besides its modifiers"));
        key = keyboardKeyByName(part);
        if (!key)
            return refuse(QStringLiteral("unknown key \"%1\"; keys are named like a, 5, f5, "
                                         "enter, page-up, kp-7, and combined as ctrl+shift+a")
                              .arg(part.toString()));
    }
    const int usage = key ? key->usage : 0;
    if (usage == 0 && modifiers == 0)
        return refuse(QStringLiteral("key: needs a key or a modifier"));
    return accept(BindingType::KeyboardKey, usage, modifiers,
                  keyboardDescription(modifiers, key ? key->label : QString()));
}

ParsedFunction parseRepeat(QStringView numbers, const std::function<QString(int)>& text) {
    const QStringList parts = splitList(numbers.toString());
    const std::optional<int> count = parts.size() == 2 ? parseNumber(parts[0]) : std::nullopt;
    const std::optional<int> interval = parts.size() == 2 ? parseNumber(parts[1]) : std::nullopt;
    if (!count || !interval || *count < kRepeatCountMin || *count > kRepeatCountMax ||
        *interval < kRepeatIntervalMin || *interval > kRepeatIntervalMax)
        return refuse(QStringLiteral("repeat takes COUNT,INTERVAL: a count of %1 to %2 and an "
                                     "interval of %3 to %4 ms")
                          .arg(kRepeatCountMin)
                          .arg(kRepeatCountMax)
                          .arg(kRepeatIntervalMin)
                          .arg(kRepeatIntervalMax));
    // The repeat sub-panel stores its title.
    return accept(
        BindingType::RepeatFunction, *interval, *count,
        catalogLabel(*findCatalogEntry(static_cast<int>(BindingType::RepeatFunction), 0), text));
}

ParsedFunction parseMacro(QStringView name, const std::vector<store::MacroDefinition>& macros) {
    const MacroChoice choice = chooseMacro(name, macros);
    if (!choice.macro)
        return refuse(choice.error);
    return accept(BindingType::MacroCall, choice.macro->id, 0, choice.macro->name);
}

// The id of a "#ID" text.
std::optional<int> idOf(QStringView choice) {
    if (!choice.startsWith(u'#'))
        return std::nullopt;
    const std::optional<int> id = parseNumber(choice.mid(1));
    return id && *id > 0 ? id : std::nullopt;
}

} // namespace

ParsedFunction parseFunction(QStringView name, const std::vector<store::MacroDefinition>& macros,
                             const std::function<QString(int)>& text) {
    if (name.startsWith(kKeyPrefix, Qt::CaseInsensitive))
        return parseKeyboard(name.mid(kKeyPrefix.size()));
    if (name.startsWith(kRepeatPrefix, Qt::CaseInsensitive))
        return parseRepeat(name.mid(kRepeatPrefix.size()), text);
    if (name.startsWith(kMacroPrefix, Qt::CaseInsensitive))
        return parseMacro(name.mid(kMacroPrefix.size()), macros);
    if (const std::optional<CatalogEntry> entry = findCatalogEntry(name)) {
        const auto type = static_cast<BindingType>(entry->type);
        const int value = type == BindingType::Disabled ? kDisabledValue : entry->value;
        return accept(type, value, 0, catalogLabel(*entry, text));
    }
    return refuse(QStringLiteral("unknown function \"%1\"; corvanectl bind --help lists them")
                      .arg(name.toString()));
}

MacroChoice chooseMacro(QStringView choice, const std::vector<store::MacroDefinition>& macros) {
    if (const std::optional<int> id = idOf(choice)) {
        for (const store::MacroDefinition& macro : macros) {
            if (macro.id == *id)
                return {&macro, {}};
        }
    }
    QStringList ids;
    const store::MacroDefinition* found = nullptr;
    for (const store::MacroDefinition& macro : macros) {
        if (macro.name == choice) {
            found = &macro;
            ids << QStringLiteral("#%1").arg(macro.id);
        }
    }
    if (ids.size() == 1)
        return {found, {}};
    if (ids.size() > 1)
        return {nullptr, QStringLiteral("%1 macros are named \"%2\"; choose one by its id: %3")
                             .arg(ids.size())
                             .arg(choice.toString(), choiceList(ids))};
    return {nullptr, QStringLiteral("no macro named \"%1\" (corvanectl macro list shows them)")
                         .arg(choice.toString())};
}

QString macroChoiceName(const store::MacroDefinition& macro,
                        const std::vector<store::MacroDefinition>& macros) {
    const MacroChoice byName = chooseMacro(macro.name, macros);
    if (!macro.name.isEmpty() && byName.macro && byName.macro->id == macro.id)
        return macro.name;
    return QStringLiteral("#%1").arg(macro.id);
}

QString functionName(int type, int value, int value2,
                     const std::vector<store::MacroDefinition>& macros) {
    const auto bindingType = static_cast<BindingType>(type);
    if (bindingType == BindingType::Disabled)
        return QStringLiteral("disable");
    if (const std::optional<CatalogEntry> entry = findCatalogEntry(type, value);
        entry && entry->name)
        return QLatin1String(entry->name);
    switch (bindingType) {
    case BindingType::KeyboardKey: {
        QStringList parts;
        for (const ModifierName& modifier : kModifierNames) {
            if (value2 & modifier.bit)
                parts << QLatin1String(modifier.name);
        }
        const std::optional<KeyboardKeyName> key = keyboardKeyByUsage(value);
        if (key)
            parts << key->name;
        const bool known = (value == 0 || key) && (value2 & ~0x0F) == 0 && !parts.isEmpty();
        if (known)
            return kKeyPrefix + parts.join(u'+');
        break;
    }
    case BindingType::RepeatFunction:
        return kRepeatPrefix + QStringLiteral("%1,%2").arg(value2).arg(value);
    case BindingType::MacroCall:
        for (const store::MacroDefinition& macro : macros) {
            if (macro.id == value)
                return kMacroPrefix + macroChoiceName(macro, macros);
        }
        break;
    default:
        break;
    }
    return QStringLiteral("code:%1,%2,%3").arg(type).arg(value).arg(value2);
}

QString keyboardDescription(int modifierBits, const QString& keyLabel) {
    // The sub-panel reads its toggles in this order.
    static constexpr struct {
        int bit;
        const char* label;
    } kOrder[] = {{2, "Shift"}, {1, "Ctrl"}, {8, "Win"}, {4, "Alt"}};
    QString modifiers;
    for (const auto& modifier : kOrder) {
        if (!(modifierBits & modifier.bit))
            continue;
        modifiers += modifiers.isEmpty() ? QLatin1String(modifier.label)
                                         : QStringLiteral("+ ") + QLatin1String(modifier.label);
    }
    if (!modifiers.isEmpty() && !keyLabel.isEmpty())
        return QStringLiteral("%1 + %2").arg(modifiers, keyLabel);
    return modifiers.isEmpty() ? keyLabel : modifiers;
}

} // namespace corvane::control
