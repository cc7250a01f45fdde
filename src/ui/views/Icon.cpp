#include "ui/views/Icon.h"

#include "ui/base/Drawing.h"
#include "ui/base/Settings.h"
#include "ui/base/Skin.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

namespace corvane::ui {
namespace {

QIcon drawnIcon() {
    QIcon icon;
    const QString name = deviceName().trimmed();
    const QString letter = name.isEmpty() ? QStringLiteral("C") : name.left(1).toUpper();
    for (int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        draw::frame(p, QRectF(0, 0, size, size), skin::accentColour(), QColor(), size / 5.0);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(size * 2 / 3);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, letter);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon loadIcon(const QString& file) {
    const QString path = skin::imagePath(file);
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        QIcon icon(path);
        if (!icon.availableSizes().isEmpty() || !icon.pixmap(32).isNull())
            return icon;
    }
    return drawnIcon();
}

} // namespace corvane::ui
