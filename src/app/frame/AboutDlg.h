#pragma once

#include "ui/base/Dialog.h"

namespace corvane::app {

// The about window: logo, the firmware version of the first attached wired mouse
// (text 16, "v" and the release with a dot before its last two digits; 0 when none is
// attached) and the website line (text 2). Its close button (30) ends it.
class AboutDlg : public ui::Dialog {
public:
    static constexpr int kCloseButton = 30;

    // The version line for a release number (text 16: v1.05).
    static QString versionLine(int release);

    // Creates it over `parent`, centred, and runs it modally.
    static int run(QWidget* parent);

    void InitUI(const QRect& client) override;
    int OnMessage(int controlId, int code, int param1, int param2) override;
};

} // namespace corvane::app
