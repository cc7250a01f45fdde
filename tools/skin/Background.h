#pragma once
// The main window's background (1300 x 788 design size): caption band, tab
// column, bottom bar and the page area, outlined.

#include <QPainter>

namespace corvane::skin {

void paintMainBackground(QPainter& painter, const QSize& size);

} // namespace corvane::skin
