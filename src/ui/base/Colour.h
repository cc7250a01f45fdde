#pragma once
// Colours as the program stores them: 0x00BBGGRR integers (red in the low byte).

#include <QColor>

namespace corvane::ui {

inline QColor colourFromBgr(int bgr) {
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}

inline int bgrFromColour(const QColor& c) {
    return c.isValid() ? (c.red() | (c.green() << 8) | (c.blue() << 16)) : 0;
}

} // namespace corvane::ui
