#pragma once

#include <QStringView>

namespace corvane::xml {

// The named character entities: the five of XML and those of HTML 4 (253 names).
// Names match exactly first; a name that differs from every entry only in ASCII
// case takes the entry listed first in the table (so "&AMP;" reads as "&", and
// "&AACUTE;" as "&Aacute;"). Returns the code point, or 0 for an unknown name.
char32_t lookupEntity(QStringView name);

// Number of entries in the table (for tests of the data itself).
int entityCount();

} // namespace corvane::xml
