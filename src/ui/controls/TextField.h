#pragma once
// Single-line text field, and NumberField, the same field limited to digits.

#include "ui/base/Control.h"

class QLineEdit;

namespace corvane::ui {

class TextField : public Control {
public:
    TextField(int id, QWidget* parent);

    // Never notify.
    void setText(const QString& text) override;
    QString text() const override;
    void setAlignment(Qt::Alignment alignment) override;

    void setReadOnly(bool on);
    void setMaxLength(int characters);
    void setPlaceholder(const QString& text);

    // Every edit by the user notifies TextChanged with param1 = notifyValue(). Enter ends
    // the edit by giving up the focus, so FocusLost follows.

protected:
    virtual int notifyValue() const { return 0; }
    QLineEdit* edit() const { return m_edit; }

private:
    QLineEdit* m_edit;
};

class NumberField : public TextField {
public:
    NumberField(int id, QWidget* parent);

    // The range clampToRange() limits to, and the longest number the user can type. A
    // minus sign can be typed only when the range reaches below 0. Defaults: 0..999999, 6.
    void setRange(int minimum, int maximum);
    void setMaxDigits(int digits);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // The leading number of the text ("12ab" is 12); text that is not a number is 0.
    int value() const;
    // Shows "%d" of value (not limited). Never notifies.
    void setValue(int value);
    // Limits value() to the range; when that changes the number, the text becomes "%d" of
    // the limited number and true is returned. Text whose number is in range stays as
    // typed (an empty field in 0..255 stays empty). Never notifies. The owner decides when
    // to call it (on FocusLost, or on TextChanged for fields applied as they are typed).
    bool clampToRange();

    // TextChanged carries value() as param1.

protected:
    int notifyValue() const override { return value(); }

private:
    void updateValidator();

    int m_minimum = 0;
    int m_maximum = 999999;
    int m_digits = 6;
};

// The leading-digits conversion used for every number typed by the user: an optional
// sign and the digits that follow, saturated to the int range; anything else is 0.
int leadingNumber(const QString& text);

} // namespace corvane::ui
