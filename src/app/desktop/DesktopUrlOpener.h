#pragma once

#include "app/desktop/UrlOpener.h"

namespace corvane::app {

// QDesktopServices::openUrl; needs the running QGuiApplication.
class DesktopUrlOpener : public UrlOpener {
public:
    bool openUrl(const QString& url) override;
};

} // namespace corvane::app
