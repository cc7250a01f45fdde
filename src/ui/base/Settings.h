#pragma once
// Process-wide settings of the widget layer. Set them once at start-up, before the
// first window is created; every getter may be called from any thread.

#include <QColor>
#include <QString>

namespace corvane::ui {

// The product caption (from config.xml); also names the fallback icon.
void setDeviceName(const QString& name);
QString deviceName();

// The theme in use; the caller builds the skin folder from it.
void setThemeName(const QString& name);
QString themeName();

// Folder that holds the skin images. Image names given to controls are relative to it
// ("icon\tab_home.png" and "icon/tab_home.png" both work). Empty: every image is missing
// and the drawn look is used.
void setSkinFolder(const QString& folder);
QString skinFolder();

// Font family given to new controls; empty means the platform's default family.
void setDefaultFontName(const QString& family);
QString defaultFontName();

// Accent of the drawn look: selected items, checked boxes, slider grooves.
void setSelectionColour(const QColor& colour);
QColor selectionColour();

} // namespace corvane::ui
