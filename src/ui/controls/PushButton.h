#pragma once
// Push button: skin images for its states, or a drawn face (rounded rectangle, glyph and
// text) when they are missing. Optionally a toggle (checkable) or a text link.

#include "ui/base/Drawing.h"
#include "ui/controls/ButtonBase.h"

namespace corvane::ui {

class PushButton : public ButtonBase {
public:
    PushButton(int id, QWidget* parent);

    // Skin images per state. A missing state image falls back to `normal`; a missing
    // `normal` to the drawn face. A checked toggle shows the pressed image.
    void setImages(const QString& normal, const QString& hover = {}, const QString& pressed = {},
                   const QString& disabled = {});
    // Symbol drawn in the drawn face (for image-only buttons such as close or minimise).
    void setGlyph(Glyph glyph);
    // Drawn as a text link: no face, accent text, underlined under the mouse.
    void setLinkStyle(bool on);
    bool isLinkStyle() const { return m_link; }

    void setCheckable(bool on);
    bool isCheckable() const { return m_checkable; }
    // Never notifies.
    void setChecked(bool on);
    bool isChecked() const { return m_checked; }

    // A click toggles a checkable button, then notifies Click with param1 = the checked
    // state (always 0 for a plain button).

protected:
    void clicked() override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString stateImage() const;

    QString m_normal, m_hover, m_pressed, m_disabled;
    Glyph m_glyph = Glyph::None;
    bool m_link = false;
    bool m_checkable = false;
    bool m_checked = false;
};

} // namespace corvane::ui
