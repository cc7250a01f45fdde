#pragma once

#include <QString>

namespace corvane::pages {

// The places where the program reaches into the user's desktop outside its window.
// The settings and performance pages and the firmware upgrade call through this, so
// their deciding logic builds and tests without a desktop.
class SystemIntegration {
public:
    virtual ~SystemIntegration() = default;

    // Start with the desktop session (on) or not (off; also stores
    // "autorun_minimize" = "0"). Failures are silent; the result tells the caller.
    virtual bool setAutorun(bool on) = 0;
    // Whether the session starts the program (the settings page's check box).
    virtual bool isAutorunEnabled() const = 0;
    // Opens the desktop's mouse settings; nothing happens when the desktop has none.
    virtual bool openMouseControlPanel() = 0;
    // Opens a web link in the user's browser; an empty link does nothing.
    virtual bool openUrl(const QString& url) = 0;
    // Deletes a folder with everything below it; false when it does not exist, cannot
    // be deleted, or the path is not an absolute path of at most 259 characters.
    virtual bool deleteTree(const QString& path) = 0;
};

} // namespace corvane::pages
