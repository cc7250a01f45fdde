#include "control/names/BindingDescription.h"

#include "control/names/BindingCatalog.h"

#include <array>
#include <span>

namespace corvane::control {

namespace {

// The words tried, in order, for each language, and the language's copy pattern.
struct MacroWords {
    int lcid;
    std::array<const char16_t*, 4> prefixes; // nullptr ends the list early
    std::array<const char16_t*, 3> suffixes;
    const char16_t* copyPattern;
};

constexpr std::array kMacroWords{
    MacroWords{1028,
               {u"自定义", u"Custom", u"カスタム", u"Пользоват"},
               {u"复制", u"Copy", u"Копировать"},
               u"%1 複製"},
    MacroWords{1033,
               {u"自定义", u"自定義", u"カスタム", u"Пользоват"},
               {u"复制", u"複製", u"Копировать"},
               u"%1 Copy"},
    MacroWords{1041,
               {u"自定义", u"Custom", u"自定義", u"Пользоват"},
               {u"复制", u"Copy", u"Копировать"},
               u"%1 複製"},
    MacroWords{1049,
               {u"自定义", u"Custom", u"自定義", u"カスタム"},
               {u"复制", u"Copy", nullptr},
               u"%1 Копировать"},
    MacroWords{2052,
               {u"Custom", u"自定義", u"カスタム", u"Пользоват"},
               {u"Copy", u"複製", u"Копировать"},
               u"%1 复制"},
};

const MacroWords* wordsFor(int lcid) {
    for (const MacroWords& words : kMacroWords) {
        if (words.lcid == lcid)
            return &words;
    }
    return nullptr;
}

// The part of `name` before the first occurrence of `word` (a blank before it stays).
QString beforeFirst(const QString& name, const QString& word) {
    return name.left(name.indexOf(word));
}

// "%1" of the pattern filled with `head`; done by hand so that a head holding "%" stays.
QString fill(const QString& pattern, const QString& head) {
    QString result = pattern;
    return result.replace(QStringLiteral("%1"), head);
}

} // namespace

QString macroBindingName(const QString& stored, int lcid, const TextLookup& text) {
    const MacroWords* words = wordsFor(lcid);
    if (!words)
        return stored;
    for (const char16_t* prefix : words->prefixes) {
        if (!prefix)
            break;
        const QString word = QString::fromUtf16(prefix);
        if (stored.startsWith(word))
            return text(kCustomWordText) + stored.mid(word.size());
    }
    for (const char16_t* suffix : words->suffixes) {
        if (!suffix)
            break;
        const QString word = QString::fromUtf16(suffix);
        if (stored.endsWith(word))
            return fill(QString::fromUtf16(words->copyPattern), beforeFirst(stored, word));
    }
    return stored;
}

QString describeBinding(const store::ButtonBinding& binding, int lcid, const TextLookup& text) {
    switch (binding.macroType) {
    case 1:
    case 3:
    case 6:
    case 7:
    case 8:
    case 9:
        if (const auto entry = findCatalogEntry(binding.macroType, binding.macroValue);
            entry && entry->descriptionText > 0)
            return text(entry->descriptionText);
        return binding.macroDesc;
    case 4:
        return macroBindingName(binding.macroDesc, lcid, text);
    default:
        return binding.macroDesc;
    }
}

QString macroDisplayName(const QString& stored, const TextLookup& text) {
    QString name = stored;
    for (const char16_t* prefix : {u"Custom", u"自定义"}) {
        const QString word = QString::fromUtf16(prefix);
        if (name.startsWith(word)) {
            name = text(kCustomWordText) + name.mid(word.size());
            break;
        }
    }
    for (const char16_t* suffix : {u"Copy", u"复制"}) {
        const QString word = QString::fromUtf16(suffix);
        if (name.endsWith(word))
            return QStringLiteral("%1 %2").arg(beforeFirst(name, word), text(kCopyWordText));
    }
    return name;
}

} // namespace corvane::control
