// Raw bytes of a language file -> decode -> parse -> lookups. Besides memory errors it stops on
// a value longer than the reader may return or one that ends in half a surrogate pair.

#include "i18n/IniFile.h"
#include "i18n/TextDecoding.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using corvane::i18n::IniFile;

namespace {

void checkValue(const QString& value) {
    if (value.size() > IniFile::kMaxValueLength)
        std::abort();
    if (!value.isEmpty() && value.back().isHighSurrogate())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The legacy character set the locale would name: none (Windows-1252), a double-byte one,
    // a single-byte one, and a name iconv does not know.
    static const QByteArray codesets[] = {"", "GB18030", "ISO-8859-5", "NO-SUCH-CHARSET"};
    const QByteArray& codeset = codesets[size % 4];

    const QString text = corvane::i18n::decodeIniBytes(bytes, codeset);
    const IniFile file = IniFile::parse(text);

    static const char16_t* const sections[] = {u"LAN", u"lan", u""};
    static const char16_t* const keys[] = {u"0", u"1", u"2", u"17", u"-1", u""};
    for (const char16_t* section : sections) {
        for (const char16_t* key : keys)
            checkValue(file.value(QStringView(section), QStringView(key)));
    }
    // Also a section and a key taken from the text itself, so that found values are checked.
    const qsizetype equals = text.indexOf(u'=');
    if (equals > 0) {
        const qsizetype lineStart = text.lastIndexOf(u'\n', equals - 1) + 1;
        const QString key = text.mid(lineStart, equals - lineStart);
        checkValue(file.value(u"LAN", key));
        const qsizetype open = text.indexOf(u'[');
        const qsizetype close = text.indexOf(u']', open + 1);
        if (open >= 0 && close > open)
            checkValue(file.value(QStringView(text).sliced(open + 1, close - open - 1), key));
    }
    return 0;
}
