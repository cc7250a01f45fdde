#include "pages/host/FileDialogs.h"

#include <QFileDialog>

namespace corvane::pages {

QString QtFileDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString QtFileDialogs::saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                    const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

} // namespace corvane::pages
