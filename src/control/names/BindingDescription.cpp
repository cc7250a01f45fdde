#include "control/names/BindingDescription.h"

#include "control/names/BindingCatalog.h"
#include "control/names/MacroWords.h"

namespace corvane::control {

namespace {

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
    const char16_t* ownCopy = ownCopyWord(lcid);
    if (!ownCopy)
        return stored;
    // Only the other languages' words are tried: a name already in the language stays.
    for (const MacroWord& prefix : customWords()) {
        if (isOwnWord(customWords(), prefix.text, lcid))
            continue;
        const QString word = QString::fromUtf16(prefix.text);
        if (stored.startsWith(word))
            return text(kCustomWordText) + stored.mid(word.size());
    }
    for (const MacroWord& suffix : copyWords()) {
        if (isOwnWord(copyWords(), suffix.text, lcid))
            continue;
        const QString word = QString::fromUtf16(suffix.text);
        if (stored.endsWith(word))
            return fill(QStringLiteral("%1 ") + QString::fromUtf16(ownCopy),
                        beforeFirst(stored, word));
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
    for (const MacroWord& prefix : customWords()) {
        const QString word = QString::fromUtf16(prefix.text);
        if (name.startsWith(word)) {
            name = text(kCustomWordText) + name.mid(word.size());
            break;
        }
    }
    for (const MacroWord& suffix : copyWords()) {
        const QString word = QString::fromUtf16(suffix.text);
        if (name.endsWith(word))
            return QStringLiteral("%1 %2").arg(beforeFirst(name, word), text(kCopyWordText));
    }
    return name;
}

} // namespace corvane::control
