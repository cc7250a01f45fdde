#include "i18n/IniFile.h"

#include "i18n/TextDecoding.h"

namespace corvane::i18n {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v';
}

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QString foldedName(QStringView name) {
    return trimBlanks(name).toString().toCaseFolded();
}

QString finishedValue(QStringView raw) {
    QStringView value = trimBlanks(raw);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    if (value.size() > IniFile::kMaxValueLength) {
        qsizetype length = IniFile::kMaxValueLength;
        if (value[length - 1].isHighSurrogate())
            --length; // never leave half a character behind
        value = value.first(length);
    }
    return value.toString();
}

} // namespace

IniFile IniFile::parse(QStringView text) {
    IniFile file;
    Section* current = nullptr; // null before the first section and under a repeated one
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        QStringView line = text.sliced(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == u'\r' && start < text.size() && text[start] == u'\n')
            ++start;

        if (const qsizetype nul = line.indexOf(QChar(0)); nul >= 0)
            line = line.first(nul);
        line = trimBlanks(line);
        if (line.isEmpty() || line.front() == u';')
            continue;

        if (line.front() == u'[') {
            QStringView name = line.sliced(1);
            if (const qsizetype close = name.indexOf(u']'); close >= 0)
                name = name.first(close);
            const QString folded = foldedName(name);
            current = file.sections_.contains(folded) ? nullptr : &file.sections_[folded];
            continue;
        }

        const qsizetype equals = line.indexOf(u'=');
        if (current == nullptr || equals < 0)
            continue;
        const QString key = foldedName(line.first(equals));
        if (key.isEmpty() || current->contains(key))
            continue;
        current->insert(key, finishedValue(line.sliced(equals + 1)));
    }
    return file;
}

IniFile IniFile::fromBytes(QByteArrayView bytes, const QByteArray& ansiCodeset) {
    return parse(decodeIniBytes(bytes, ansiCodeset));
}

QString IniFile::value(QStringView section, QStringView key) const {
    const auto found = sections_.constFind(foldedName(section));
    if (found == sections_.constEnd())
        return {};
    return found->value(foldedName(key));
}

} // namespace corvane::i18n
