#include "ui/controls/TextField.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <algorithm>
#include <limits>

namespace corvane::ui {

int leadingNumber(const QString& text) {
    const QString s = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        negative = s[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (s[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

TextField::TextField(int id, QWidget* parent) : Control(id, parent), m_edit(new QLineEdit(this)) {
    m_edit->setFocusPolicy(Qt::StrongFocus);
    m_edit->setFrame(true);
    host(m_edit);
    // textEdited is emitted for the user's edits only, never for setText.
    QObject::connect(m_edit, &QLineEdit::textEdited, this,
                     [this] { notify(Notify::TextChanged, notifyValue()); });
    QObject::connect(m_edit, &QLineEdit::returnPressed, this, [this] { m_edit->clearFocus(); });
}

void TextField::setText(const QString& text) {
    const QSignalBlocker block(m_edit);
    m_edit->setText(text);
}

QString TextField::text() const {
    return m_edit->text();
}

void TextField::setAlignment(Qt::Alignment alignment) {
    Control::setAlignment(alignment);
    m_edit->setAlignment(alignment);
}

void TextField::setReadOnly(bool on) {
    m_edit->setReadOnly(on);
}
void TextField::setMaxLength(int characters) {
    m_edit->setMaxLength(characters);
}
void TextField::setPlaceholder(const QString& text) {
    m_edit->setPlaceholderText(text);
}

NumberField::NumberField(int id, QWidget* parent) : TextField(id, parent) {
    updateValidator();
}

void NumberField::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    updateValidator();
}

void NumberField::setMaxDigits(int digits) {
    m_digits = std::clamp(digits, 1, 10);
    updateValidator();
}

void NumberField::updateValidator() {
    // Only digits (and a leading minus where the range allows it) can be typed; the
    // range itself is enforced by clampToRange, so an intermediate value such as "3"
    // on the way to "30" is never refused while typing.
    const bool sign = m_minimum < 0;
    const QString pattern =
        QStringLiteral("%1\\d{0,%2}").arg(sign ? QStringLiteral("-?") : QString()).arg(m_digits);
    auto* validator = new QRegularExpressionValidator(QRegularExpression(pattern), edit());
    delete edit()->validator();
    edit()->setValidator(validator);
    edit()->setMaxLength(m_digits + (sign ? 1 : 0));
}

int NumberField::value() const {
    return leadingNumber(text());
}

void NumberField::setValue(int value) {
    setText(QString::number(value));
}

bool NumberField::clampToRange() {
    const int current = value();
    const int limited = std::clamp(current, m_minimum, m_maximum);
    if (limited == current)
        return false;
    setText(QString::number(limited));
    return true;
}

} // namespace corvane::ui
