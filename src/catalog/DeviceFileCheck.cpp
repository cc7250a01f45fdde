#include "catalog/DeviceFileCheck.h"

#include "catalog/TextNumbers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <optional>

namespace corvane::catalog {
namespace {

using Severity = DeviceFileProblem::Severity;

// Where an element may stand. The reader looks the children of one parent up forward
// only, so an element whose rank is below one already seen is never read. Rank 0 means
// "anywhere" (read by a lookup of its own, or repeated).
struct ElementRule {
    const char* parent;
    const char* name;
    int rank;
    bool repeated = false;
};

constexpr ElementRule kElements[] = {
    {"mouse", "catalog", 1},
    {"mouse", "image_file", 2},
    {"mouse", "menu", 3},
    {"mouse", "custom", 4},
    {"mouse", "firmware", 5},
    {"mouse", "mouse_key", 6},
    {"mouse", "mouse_info", 7},
    {"catalog", "mode", 0, true},
    {"mouse_key", "key", 0, true},
    {"mouse_info", "light_info", 0},
    {"mouse_info", "dpi_info", 1},
    {"mouse_info", "report_rate", 2},
    {"mouse_info", "sleep_light", 3},
    {"mouse_info", "move_wakeup", 4},
    {"mouse_info", "move_closelight", 5},
    {"mouse_info", "lod", 6},
    {"mouse_info", "button_respondtime", 7},
    {"light_info", "light_1", 1},
    {"light_info", "light_2", 2},
    {"light_info", "light_3", 3},
    {"light_info", "light_4", 4},
    {"light_info", "light_5", 5},
    {"light_info", "light_6", 6},
    {"dpi_info", "dpi_1", 1},
    {"dpi_info", "dpi_2", 2},
    {"dpi_info", "dpi_3", 3},
    {"dpi_info", "dpi_4", 4},
    {"dpi_info", "dpi_5", 5},
    {"dpi_info", "dpi_6", 6},
};

enum class Kind {
    Text,       // anything
    Name,       // not empty
    Number,     // decimal digits
    Flag,       // 0 or 1
    DeviceType, // a positive number other than the generic type 101
    ModeValue,  // 0 (cable) or 1 (receiver)
    UsbId,      // 1 to 4 hexadecimal digits, optional 0x, not 0
    DeviceId,   // four printable ASCII characters
    Colour,     // #RRGGBB
    Callout,    // x1#x2#y
    Picture,    // a file beside the device file
    Https,      // an https address
};

struct AttributeRule {
    const char* element; // "light_*" and "dpi_*" stand for the six numbered elements
    const char* attribute;
    Kind kind;
    bool required = false;
};

constexpr AttributeRule kAttributes[] = {
    {"catalog", "name", Kind::Name, true},
    {"catalog", "device_type", Kind::DeviceType, true},
    {"catalog", "image", Kind::Picture},
    {"mode", "value", Kind::ModeValue, true},
    {"mode", "vid", Kind::UsbId, true},
    {"mode", "pid", Kind::UsbId, true},
    {"mode", "dev_id", Kind::DeviceId, true},
    {"mode", "desc", Kind::Text},
    {"mode", "hid_interface", Kind::Number},
    {"image_file", "mouse_img", Kind::Picture},
    {"menu", "light", Kind::Flag},
    {"custom", "show_dpitips", Kind::Flag},
    {"custom", "show_savetips", Kind::Flag},
    {"custom", "show_lod", Kind::Flag},
    {"custom", "show_sensor", Kind::Flag},
    {"custom", "show_respondtime", Kind::Flag},
    {"firmware", "url", Kind::Https},
    {"key", "name", Kind::Number, true},
    {"key", "key_value", Kind::Number, true},
    {"key", "direction", Kind::Flag},
    {"key", "rect", Kind::Callout, true},
    {"key", "func_desc", Kind::Number},
    {"key", "dashed", Kind::Flag},
    {"key", "func_type", Kind::Number},
    {"key", "func_value", Kind::Number},
    {"light_*", "enable", Kind::Flag},
    {"dpi_info", "default_dpi", Kind::Number},
    {"dpi_info", "dpi_count", Kind::Number},
    {"dpi_*", "value", Kind::Number},
    {"dpi_*", "color", Kind::Colour},
    {"report_rate", "default_value", Kind::Number},
    {"sleep_light", "value", Kind::Number},
    {"move_wakeup", "value", Kind::Number},
    {"move_closelight", "value", Kind::Number},
    {"lod", "value", Kind::Number},
    {"button_respondtime", "value", Kind::Number},
};

// A failed check: its severity and message, or nothing when the value is fine.
struct Verdict {
    Severity severity;
    QString message;
};

bool isDigits(QStringView text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text.toString()).hasMatch();
}

std::optional<Verdict> judge(Kind kind, const QString& value, const QString& folder) {
    static const QRegularExpression usbId(QStringLiteral("^(0[xX])?[0-9A-Fa-f]{1,4}$"));
    static const QRegularExpression deviceId(QStringLiteral("^[\\x21-\\x7E]{4}$"));
    static const QRegularExpression colour(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    static const QRegularExpression callout(QStringLiteral("^-?[0-9]+#-?[0-9]+#-?[0-9]+$"));
    const auto warn = [](const QString& message) { return Verdict{Severity::Warning, message}; };
    const auto fail = [](const QString& message) { return Verdict{Severity::Error, message}; };
    switch (kind) {
    case Kind::Text:
        return std::nullopt;
    case Kind::Name:
        if (value.trimmed().isEmpty())
            return fail(QStringLiteral("is empty"));
        return std::nullopt;
    case Kind::Number:
        if (!isDigits(value))
            return warn(QStringLiteral("'%1' is not a number: it reads as %2")
                            .arg(value)
                            .arg(leadingInt(value)));
        return std::nullopt;
    case Kind::Flag:
        if (value != u"0" && value != u"1")
            return warn(QStringLiteral("'%1' is neither 0 nor 1: it reads as %2")
                            .arg(value, flagOf(value) ? QStringLiteral("1") : QStringLiteral("0")));
        return std::nullopt;
    case Kind::DeviceType:
        if (!isDigits(value) || leadingInt(value) <= 0)
            return fail(QStringLiteral("'%1' is not a positive number").arg(value));
        if (leadingInt(value) == 101)
            return fail(QStringLiteral("101 is the type of mice that report no identifier"));
        return std::nullopt;
    case Kind::ModeValue:
        if (value != u"0" && value != u"1")
            return fail(QStringLiteral("'%1' is neither 0 (USB cable) nor 1 (2.4 GHz receiver)")
                            .arg(value));
        return std::nullopt;
    case Kind::UsbId:
        if (!usbId.match(value).hasMatch() || leadingHex(value) == 0)
            return fail(
                QStringLiteral("'%1' is not a USB id (hexadecimal, such as 0x1209)").arg(value));
        return std::nullopt;
    case Kind::DeviceId:
        if (!deviceId.match(value).hasMatch())
            return fail(QStringLiteral("'%1' is not the four characters the mouse reports as its "
                                       "identifier")
                            .arg(value));
        return std::nullopt;
    case Kind::Colour:
        if (!colour.match(value).hasMatch())
            return warn(QStringLiteral("'%1' is not a colour #RRGGBB").arg(value));
        return std::nullopt;
    case Kind::Callout:
        if (!callout.match(value).hasMatch())
            return warn(QStringLiteral("'%1' is not a callout x1#x2#y").arg(value));
        return std::nullopt;
    case Kind::Picture:
        if (!value.isEmpty() && !QFileInfo(QDir(folder), value).isFile())
            return warn(QStringLiteral("the picture '%1' is not in %2: the neutral outline is "
                                       "shown instead")
                            .arg(value, folder));
        return std::nullopt;
    case Kind::Https:
        if (!value.isEmpty() && !value.startsWith(QStringLiteral("https://")))
            return warn(QStringLiteral("'%1' is not an https address: firmware is only fetched "
                                       "over https")
                            .arg(value));
        return std::nullopt;
    }
    return std::nullopt;
}

bool matchesElement(const char* pattern, QStringView element) {
    const std::size_t length = std::strlen(pattern);
    if (length > 0 && pattern[length - 1] == '*')
        return element.startsWith(QLatin1String(pattern, static_cast<qsizetype>(length - 1)));
    return element == QLatin1String(pattern);
}

const ElementRule* elementRule(QStringView parent, QStringView name) {
    for (const ElementRule& rule : kElements) {
        if (parent == QLatin1String(rule.parent) && name == QLatin1String(rule.name))
            return &rule;
    }
    return nullptr;
}

// One open element while the text is walked.
struct OpenElement {
    QString name;
    int lastRank = 0;
    QString lastRanked; // the element that set lastRank
    QStringList seen;
};

class Checker {
public:
    Checker(const QString& stem, const QString& folder) : folder_(folder) {
        static const QRegularExpression plainName(QStringLiteral("^[a-z0-9_]+$"));
        if (!plainName.match(stem).hasMatch())
            add(Severity::Error, 0,
                QStringLiteral("the file name '%1.xml' must be lower-case letters, digits and "
                               "'_': it names the model's profile database")
                    .arg(stem));
    }

    void run(const QByteArray& text) {
        QXmlStreamReader reader(text);
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            if (token == QXmlStreamReader::StartElement)
                startElement(reader);
            else if (token == QXmlStreamReader::EndElement && !open_.empty())
                open_.pop_back();
        }
        if (reader.hasError()) {
            add(Severity::Error, static_cast<int>(reader.lineNumber()),
                QStringLiteral("not well-formed XML: %1").arg(reader.errorString()));
            return;
        }
        if (!sawRoot_)
            add(Severity::Error, 0, QStringLiteral("the file holds no element"));
        else if (catalogLine_ == 0 && rootIsMouse_)
            add(Severity::Error, 0,
                QStringLiteral("no <catalog> element: a user device file starts with its "
                               "catalog entry (name, device_type and a <mode> per connection)"));
        else if (catalogLine_ > 0 && modes_ == 0)
            add(Severity::Error, catalogLine_,
                QStringLiteral("<catalog> has no <mode>: no mouse would ever match it"));
    }

    std::vector<DeviceFileProblem> take() {
        std::stable_sort(
            problems_.begin(), problems_.end(),
            [](const DeviceFileProblem& a, const DeviceFileProblem& b) { return a.line < b.line; });
        return std::move(problems_);
    }

private:
    void add(Severity severity, int line, const QString& message) {
        problems_.push_back({severity, line, message});
    }

    void startElement(QXmlStreamReader& reader) {
        const QString name = reader.name().toString();
        const int line = static_cast<int>(reader.lineNumber());
        if (!sawRoot_) {
            sawRoot_ = true;
            rootIsMouse_ = name == u"mouse";
            if (!rootIsMouse_) {
                add(Severity::Error, line,
                    QStringLiteral("the root element is <%1>, not <mouse>").arg(name));
                reader.skipCurrentElement();
                return;
            }
            open_.push_back(OpenElement{name, 0, {}, {}});
            return;
        }
        OpenElement& parent = open_.back();
        const ElementRule* rule = elementRule(parent.name, name);
        if (!rule) {
            add(Severity::Warning, line,
                QStringLiteral("<%1> is not an element of <%2>: it is not read")
                    .arg(name, parent.name));
            reader.skipCurrentElement();
            return;
        }
        if (!rule->repeated && parent.seen.contains(name)) {
            add(Severity::Warning, line,
                QStringLiteral("a second <%1>: only the first is read").arg(name));
        } else if (rule->rank > 0 && rule->rank < parent.lastRank) {
            add(Severity::Warning, line,
                QStringLiteral("<%1> must come before <%2>: where it stands it is not read")
                    .arg(name, parent.lastRanked));
        } else if (rule->rank > 0) {
            parent.lastRank = rule->rank;
            parent.lastRanked = name;
        }
        parent.seen << name;
        if (name == u"catalog")
            catalogLine_ = line;
        if (name == u"mode")
            ++modes_;
        checkAttributes(reader, name, line);
        open_.push_back(OpenElement{name, 0, {}, {}});
    }

    void checkAttributes(const QXmlStreamReader& reader, const QString& element, int line) {
        const QXmlStreamAttributes attributes = reader.attributes();
        for (const AttributeRule& rule : kAttributes) {
            if (!matchesElement(rule.element, element))
                continue;
            const QString name = QLatin1String(rule.attribute);
            if (!attributes.hasAttribute(name)) {
                if (rule.required)
                    add(severityOfMissing(rule), line,
                        QStringLiteral("<%1> lacks %2").arg(element, name));
                continue;
            }
            const QString value = attributes.value(name).toString();
            if (std::optional<Verdict> verdict = judge(rule.kind, value, folder_))
                add(verdict->severity, line,
                    QStringLiteral("<%1 %2>: %3").arg(element, name, verdict->message));
        }
    }

    // A catalog value missing makes the entry unusable; a key's, only that key odd.
    static Severity severityOfMissing(const AttributeRule& rule) {
        const bool catalogEntry =
            std::strcmp(rule.element, "catalog") == 0 || std::strcmp(rule.element, "mode") == 0;
        return catalogEntry ? Severity::Error : Severity::Warning;
    }

    QString folder_;
    std::vector<OpenElement> open_;
    std::vector<DeviceFileProblem> problems_;
    bool sawRoot_ = false;
    bool rootIsMouse_ = false;
    int catalogLine_ = 0;
    int modes_ = 0;
};

} // namespace

std::vector<DeviceFileProblem> checkDeviceFileText(const QByteArray& text, const QString& stem,
                                                   const QString& folder) {
    Checker checker(stem, folder);
    checker.run(text);
    return checker.take();
}

bool hasError(const std::vector<DeviceFileProblem>& problems) {
    return std::any_of(problems.begin(), problems.end(),
                       [](const DeviceFileProblem& problem) { return problem.isError(); });
}

QString describeProblem(const QString& file, const DeviceFileProblem& problem) {
    const QString where =
        problem.line > 0 ? QStringLiteral("%1:%2").arg(file).arg(problem.line) : file;
    return QStringLiteral("%1: %2: %3")
        .arg(where, problem.isError() ? QStringLiteral("error") : QStringLiteral("warning"),
             problem.message);
}

} // namespace corvane::catalog
