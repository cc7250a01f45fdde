#pragma once
// Small line icons: the tab icons, the caption buttons, the connection-mode strip
// and the battery indicator.

#include <QPainter>

namespace corvane::skin {

// Tab icons, 32 x 32, light grey.
void paintTabHome(QPainter& painter, const QSize& size);
void paintTabKey(QPainter& painter, const QSize& size);
void paintTabDpi(QPainter& painter, const QSize& size);
void paintTabMacro(QPainter& painter, const QSize& size);
void paintTabLight(QPainter& painter, const QSize& size);
void paintTabSet(QPainter& painter, const QSize& size);

// Caption buttons, 32 x 32.
void paintCaptionClose(QPainter& painter, const QSize& size);
void paintCaptionMinimize(QPainter& painter, const QSize& size);
void paintCaptionMaximize(QPainter& painter, const QSize& size);
void paintCaptionRestore(QPainter& painter, const QSize& size);
void paintCaptionSetting(QPainter& painter, const QSize& size);

// Connection modes: a strip of square icons, cable (mode 0) then wireless (mode 1).
void paintDeviceModes(QPainter& painter, const QSize& size);

// Battery, three 32 x 16 images drawn over each other at the same place: the
// outline (body 1.5..27.5 x 2.5..13.5 plus a terminal on the right), the fill bar
// (x 4..25, y 5..11, to be clipped to the charge level) and the charging bolt.
void paintBatteryOutline(QPainter& painter, const QSize& size);
void paintBatteryFill(QPainter& painter, const QSize& size);
void paintBatteryCharge(QPainter& painter, const QSize& size);

} // namespace corvane::skin
