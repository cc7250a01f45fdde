#include "ui/base/Skin.h"

#include "ui/base/Settings.h"

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QPixmapCache>
#include <QSet>
#include <QStyleFactory>

namespace corvane::ui::skin {

QColor windowColour() {
    return {0x17, 0x18, 0x1b};
}
QColor panelColour() {
    return {0x20, 0x22, 0x26};
}
QColor faceColour() {
    return {0x2c, 0x2f, 0x35};
}
QColor hoverColour() {
    return {0x38, 0x3c, 0x44};
}
QColor pressedColour() {
    return {0x1b, 0x1d, 0x21};
}
QColor borderColour() {
    return {0x3d, 0x41, 0x4a};
}
QColor textColour() {
    return {0xe8, 0xe9, 0xec};
}
QColor mutedTextColour() {
    return {0x93, 0x98, 0xa1};
}
QColor disabledTextColour() {
    return {0x5c, 0x60, 0x68};
}
QColor accentColour() {
    return selectionColour();
}

QString imagePath(const QString& name) {
    if (name.isEmpty())
        return {};
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(path))
        return path;
    const QString folder = skinFolder();
    if (folder.isEmpty())
        return path;
    return QDir(folder).filePath(path);
}

QPixmap image(const QString& name) {
    const QString path = imagePath(name);
    if (path.isEmpty())
        return {};
    // Paths found missing are remembered so a missing skin costs no disk access per paint.
    static QSet<QString> missing;
    if (missing.contains(path))
        return {};
    QPixmap pixmap;
    if (QPixmapCache::find(path, &pixmap))
        return pixmap;
    if (!pixmap.load(path)) {
        missing.insert(path);
        return {};
    }
    QPixmapCache::insert(path, pixmap);
    return pixmap;
}

void apply() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    QPalette p;
    p.setColor(QPalette::Window, windowColour());
    p.setColor(QPalette::WindowText, textColour());
    p.setColor(QPalette::Base, panelColour());
    p.setColor(QPalette::AlternateBase, faceColour());
    p.setColor(QPalette::Text, textColour());
    p.setColor(QPalette::PlaceholderText, mutedTextColour());
    p.setColor(QPalette::Button, faceColour());
    p.setColor(QPalette::ButtonText, textColour());
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, accentColour());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, faceColour());
    p.setColor(QPalette::ToolTipText, textColour());
    p.setColor(QPalette::Light, hoverColour());
    p.setColor(QPalette::Midlight, faceColour());
    p.setColor(QPalette::Mid, borderColour());
    p.setColor(QPalette::Dark, pressedColour());
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Link, accentColour());
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabledTextColour());
    QApplication::setPalette(p);
}

void ensureApplied() {
    static bool applied = false;
    if (applied || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    applied = true;
    apply();
}

} // namespace corvane::ui::skin
