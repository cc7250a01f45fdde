#pragma once

#include <QString>
#include <QStringView>

namespace corvane::xml {

// The encoding a document names for itself: the `encoding` of an <?xml ...?>
// declaration at its very start, or, in an html document, the charset of a
// <meta http-equiv="Content-Type" content="...; charset=..."> before the end of
// its head. Empty when the document names none.
QString declaredEncoding(QStringView text);

} // namespace corvane::xml
