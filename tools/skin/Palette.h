#pragma once
// The colours of the default dark skin, shared by every image the generator draws.

#include <QColor>

namespace corvane::skin {

inline const QColor kBackground{0x16, 0x18, 0x19}; // window background
inline const QColor kPanel{0x20, 0x23, 0x26};      // tab column, panels
inline const QColor kPanelEdge{0x2C, 0x30, 0x34};  // 1-pixel outlines of panels
inline const QColor kBar{0x1B, 0x1E, 0x20};        // caption and bottom bars
inline const QColor kAccent{0x19, 0xC3, 0xB4};     // teal accent
inline const QColor kAccentLight{0x5F, 0xE3, 0xD6};
inline const QColor kText{0xEC, 0xEF, 0xF1};  // white text
inline const QColor kGlyph{0xC3, 0xC9, 0xCD}; // light grey icons
inline const QColor kShell{0x33, 0x38, 0x3D}; // mouse shell, lit side
inline const QColor kShellDark{0x23, 0x27, 0x2A};
inline const QColor kSeam{0x0E, 0x10, 0x11}; // gaps between mouse buttons

} // namespace corvane::skin
