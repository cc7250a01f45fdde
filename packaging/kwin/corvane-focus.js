// Tells Corvane which window has the focus on KDE Plasma. Corvane loads this script into
// KWin itself (org.kde.KWin /Scripting); nothing has to be installed by hand.
const service = "io.github.corvane.Corvane";
const path = "/io/github/corvane/Corvane";

function report(window) {
    if (!window) {
        callDBus(service, path, service, "ReportFocus", "", "", 0);
        return;
    }
    // On Wayland the resource class is the app id; on X11 it is WM_CLASS's class.
    callDBus(service, path, service, "ReportFocus", String(window.resourceClass || ""),
             String(window.caption || ""), window.pid | 0);
}

// Plasma 6 names it windowActivated, Plasma 5 clientActivated.
const activated = workspace.windowActivated || workspace.clientActivated;
activated.connect(report);
report(workspace.activeWindow || workspace.activeClient);
