#pragma once

#include <QString>

namespace corvane::app {

// Opens a link with the desktop's handler (the browser for web links).
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool openUrl(const QString& url) = 0;
};

} // namespace corvane::app
