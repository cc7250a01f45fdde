#include "app/frame/LayoutDirection.h"

#include "i18n/LanguageChoice.h"

#include <QGuiApplication>

namespace corvane::app {

void applyLayoutDirection(int lcid) {
    QGuiApplication::setLayoutDirection(i18n::readsRightToLeft(lcid) ? Qt::RightToLeft
                                                                     : Qt::LeftToRight);
}

} // namespace corvane::app
