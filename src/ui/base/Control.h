#pragma once
// ui/base: control, dialog, drawing, skin, settings, posting; includes no other room of ui/.
// Base of every control. A control is created inside a dialog (Dialog::add), carries a
// numeric id and reports user actions to its owning dialog's OnMessage hook.

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

namespace corvane::ui {

class Dialog;

// Notification codes delivered to Dialog::OnMessage(controlId, code, param1, param2).
namespace Notify {
constexpr int Click = 2;         // a click, a selection, the end of a slider or palette drag
constexpr int Moving = 8;        // a slider's thumb moves; param1 = position
constexpr int TextChanged = 26;  // the user edited a text or number field
constexpr int ColourPicked = 27; // the user moves the palette's selection; param1 = colour
constexpr int FocusLost = 29;    // the control lost the keyboard focus
constexpr int FocusGained = 30;  // the control gained the keyboard focus
constexpr int EditEnded = 31;    // an in-place edit changed an item; param1 = index, param2 = data
constexpr int ItemChosen = 32;   // an item was clicked or Return pressed on it; param1 = index,
                                 // param2 = data
} // namespace Notify

// Font styles for Control::setTextFont, combinable.
enum FontStyle { FontNormal = 0, FontBold = 1, FontItalic = 2, FontUnderline = 4 };

// Rectangle from its left, top, right and bottom edges (right and bottom exclusive), the
// form window layouts are usually written in.
inline QRect ltrb(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

class Control : public QWidget {
public:
    // parent is the dialog or a container inside it; use Dialog::add rather than new.
    Control(int id, QWidget* parent);

    int id() const { return m_id; }

    // The nearest dialog among the ancestors; notifications go there. Null when none.
    Dialog* owner() const;

    // Title text. Painted controls show it; list-like controls do not.
    virtual void setText(const QString& text);
    virtual QString text() const { return m_text; }

    // Font family (empty = the default font name setting), pixel size and FontStyle bits.
    // The size is in design pixels: the owner's interface scale applies to it.
    void setTextFont(const QString& family, int pixelSize, int style = FontNormal);
    // The interface scale the font size is drawn at (the owner dialog sets it).
    void setFontScale(double scale);
    // The interface scale the control is drawn at (for sizes it keeps in design pixels).
    double fontScale() const { return m_fontScale; }

    virtual void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }

    // Text colour; an invalid colour returns to the skin's text colour.
    virtual void setTextColour(const QColor& colour);
    // The colour text is drawn in now (the disabled colour while disabled).
    QColor textColour() const;
    bool hasTextColour() const { return m_textColour.isValid(); }

    // The name assistive technology reads for the control (and for the stock widget it
    // hosts): controls without a visible text of their own (fields, sliders, lists,
    // image buttons) take the text of their label or tooltip.
    void setAccessibleText(const QString& name);

    // Rectangle, visibility, enabled state and tooltip are QWidget's: setGeometry(),
    // geometry(), setVisible()/isHidden(), setEnabled()/isEnabled(), setToolTip().

protected:
    // Sends (id, code, p1, p2) to the owner's OnMessage. A notification raised while the
    // same control's previous one is still being handled is dropped, so a handler that
    // provokes its own control again cannot recurse.
    void notify(int code, int p1 = 0, int p2 = 0);

    // Reports focus changes of w (this control or its inner widget) as FocusGained and
    // FocusLost. Focus moves caused by opening a pop-up are not reported.
    void watchFocus(QWidget* w);

    // Makes `inner` (a stock Qt widget) fill this control, take its focus and follow its
    // text colour; its focus changes are reported like the control's own.
    void host(QWidget* inner);
    QWidget* hosted() const { return m_hosted; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyHostedColour();
    // The hosted widget is read by the control's name, else by its tooltip.
    void nameHosted();

    int m_id;
    QWidget* m_hosted = nullptr;
    QString m_text;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor m_textColour;
    int m_designPixelSize = 0;
    double m_fontScale = 1.0;
    bool m_notifying = false;
};

} // namespace corvane::ui
