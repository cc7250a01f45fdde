#include "xml/DiagnosticLog.h"

#include "xml/MarkupEscape.h"

namespace corvane::xml {

void DiagnosticLog::add(const char* record, std::initializer_list<Attribute> attributes) {
    if (isFull())
        return;
    m_text += QLatin1Char('<') + QLatin1String(record);
    for (const Attribute& attribute : attributes) {
        m_text += QLatin1Char(' ') + QLatin1String(attribute.first) + QLatin1String("=\"") +
                  escapeMarkup(attribute.second, EscapeMode::AttributeValue) + QLatin1Char('"');
    }
    m_text += QLatin1String("/>");
}

} // namespace corvane::xml
