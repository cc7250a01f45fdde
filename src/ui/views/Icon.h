#pragma once
// Icons loaded from a file (window and tray icons).

#include <QIcon>
#include <QString>

namespace corvane::ui {

// The icon in `file` (an absolute path, or a name in the skin folder; .ico, .png, .svg).
// When the file is missing or unreadable, a drawn icon (the accent colour and the first
// letter of the device name) is returned instead, so a tray entry never shows blank.
// Check the file yourself when the difference matters.
QIcon loadIcon(const QString& file);

} // namespace corvane::ui
