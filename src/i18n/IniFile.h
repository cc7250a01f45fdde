#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>

namespace corvane::i18n {

// The parsed contents of an initialisation file, answering lookups the way the Windows
// profile-string reader does on well-formed files:
//  - "[name]" starts a section; blanks around the name and inside the brackets are ignored, the
//    name ends at the first ']' (or at the end of the line when there is none);
//  - "key=value" lines; blanks (space, tab, vertical tab) around key and value are stripped, then
//    one pair of matching enclosing quotes (' or ") is removed from the value;
//  - lines starting with ';' are comments; lines without '=' and lines before the first section
//    are ignored;
//  - section and key names match without regard to case;
//  - the first occurrence wins: of a key within its section, and of a section (keys under a
//    repeated section header are not seen);
//  - a value is at most kMaxValueLength UTF-16 units, cut so that no surrogate pair is split;
//  - a NUL character ends the line's text.
class IniFile {
public:
    static constexpr qsizetype kMaxValueLength = 259;

    IniFile() = default;

    static IniFile parse(QStringView text);
    // Decodes the bytes of a file (see decodeIniBytes) and parses them.
    static IniFile fromBytes(QByteArrayView bytes, const QByteArray& ansiCodeset);

    // The value, or an empty text when the section or the key is missing.
    QString value(QStringView section, QStringView key) const;

private:
    using Section = QHash<QString, QString>; // case-folded key -> value
    QHash<QString, Section> sections_;       // case-folded section name -> its keys
};

} // namespace corvane::i18n
