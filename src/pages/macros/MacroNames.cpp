#include "pages/macros/MacroNames.h"

namespace corvane::pages {

namespace {

// The words the program itself puts into new macro names, in the order they are tried.
constexpr const char16_t* kCustomWords[] = {u"Custom", u"\u81EA\u5B9A\u4E49"};
constexpr const char16_t* kCopyWords[] = {u"Copy", u"\u590D\u5236"};

} // namespace

QString macroDisplayName(const QString& stored, const QString& customWord,
                         const QString& copyWord) {
    QString name = stored;
    for (const char16_t* word : kCustomWords) {
        const QString w = QString::fromUtf16(word);
        if (name.startsWith(w)) {
            name = customWord + name.mid(w.size());
            break;
        }
    }
    for (const char16_t* word : kCopyWords) {
        const QString w = QString::fromUtf16(word);
        if (name.endsWith(w)) {
            // The part before the word's first occurrence keeps the blank in front of it.
            name = QStringLiteral("%1 %2").arg(name.left(name.indexOf(w)), copyWord);
            break;
        }
    }
    return name;
}

} // namespace corvane::pages
