#pragma once

#include "xml/DiagnosticLog.h"
#include "xml/ElementIndex.h"

#include <QStringView>

namespace corvane::xml {

// Builds the element index of a text and reports what is ill-formed. Works in
// one left-to-right pass with an explicit stack of open elements, so neither the
// depth of nesting nor the size of the text can exhaust the call stack.
// Returns true when the text is well-formed: no fault, a root element, and no
// element beside it.
bool parseMarkup(QStringView text, bool ignoreNameCase, ElementIndex& index, DiagnosticLog& log);

} // namespace corvane::xml
