#pragma once

#include <QString>
#include <QStringView>

namespace corvane::xml {

enum class EscapeMode {
    ElementText,    // & < > become entity references
    AttributeValue, // also ' and "
};

// Escapes a value for writing into markup.
QString escapeMarkup(QStringView value, EscapeMode mode = EscapeMode::AttributeValue);

// Resolves character references (&#20013; &#x4E2D;) and named entities (&amp;
// &eacute; ...) in a value read from markup. A reference that cannot be resolved
// stays as it is, starting with a literal &.
QString unescapeMarkup(QStringView value);

} // namespace corvane::xml
