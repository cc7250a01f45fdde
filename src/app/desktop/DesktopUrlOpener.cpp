#include "app/desktop/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace corvane::app {

bool DesktopUrlOpener::openUrl(const QString& url) {
    const QString text = url.trimmed();
    if (text.isEmpty())
        return false;
    // Installation links may lack a scheme ("www.example.com"); take them as web links.
    const QUrl target = QUrl::fromUserInput(text);
    return target.isValid() && QDesktopServices::openUrl(target);
}

} // namespace corvane::app
