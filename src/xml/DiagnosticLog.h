#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

namespace corvane::xml {

// The document's diagnostic text: one small record element per event, e.g.
// <lone_end_tag tagname="b" offset="12"/>. Records stop being added once the
// text has grown past 999 characters, so a broken document cannot flood it.
class DiagnosticLog {
public:
    using Attribute = std::pair<const char*, QString>;

    void clear() { m_text.clear(); }
    bool isFull() const { return m_text.size() > 999; }
    void add(const char* record, std::initializer_list<Attribute> attributes = {});
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace corvane::xml
