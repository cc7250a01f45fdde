#include "pages/macros/MacroNames.h"

#include "control/names/MacroWords.h"

namespace corvane::pages {

QString macroDisplayName(const QString& stored, const QString& customWord,
                         const QString& copyWord) {
    QString name = stored;
    for (const control::MacroWord& custom : control::customWords()) {
        const QString w = QString::fromUtf16(custom.text);
        if (name.startsWith(w)) {
            name = customWord + name.mid(w.size());
            break;
        }
    }
    for (const control::MacroWord& copy : control::copyWords()) {
        const QString w = QString::fromUtf16(copy.text);
        if (name.endsWith(w)) {
            // The part before the word's first occurrence keeps the blank in front of it.
            name = QStringLiteral("%1 %2").arg(name.left(name.indexOf(w)), copyWord);
            break;
        }
    }
    return name;
}

} // namespace corvane::pages
