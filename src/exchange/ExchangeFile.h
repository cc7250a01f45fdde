#pragma once

// Internal to exchange/: reading and writing the XML files of the exchange.

#include "exchange/ExchangeStatus.h"
#include "xml/MarkupDocument.h"

#include <QString>
#include <QtGlobal>

namespace corvane::exchange {

// Macro and profile files beyond this size are refused before they are read.
inline constexpr qint64 kMaxExchangeFileBytes = qint64(16) << 20;

// A document holding only the declaration line, ready for addElem of the root.
xml::MarkupDocument newExchangeDocument();

// Loads a file to import: a missing path or one that is not a plain file, a file above
// the size limit, an unreadable or ill-formed one each give their status.
ExchangeStatus loadExchangeFile(const QString& path, xml::MarkupDocument& document);

// Writes the document as UTF-8 into a temporary file beside path and renames it over
// path, so a failed write never damages a file already there.
ExchangeStatus saveExchangeFile(const QString& path, const xml::MarkupDocument& document);

// A number attribute: leading digits, non-numbers and missing attributes read as 0.
int numberAttribute(const xml::MarkupDocument& document, const QString& name);

} // namespace corvane::exchange
