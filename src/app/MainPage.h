#pragma once
// How a configuration page plugs into the main window. The window owns one container
// panel per page; a page builds its controls inside it, lays them out, takes the
// notifications of its control ids and is told when to reload, re-translate, and what
// the device worker reports that concerns it. Every call comes on the UI thread.

#include "catalog/DeviceDetails.h"
#include "protocol/WorkerHost.h"

#include <QRect>
#include <QString>

namespace corvane::ui {
class Dialog;
class Panel;
} // namespace corvane::ui

namespace corvane::app {

// The page containers, in the order the window lets the pages create their controls.
enum class PageSlot { Buttons, Performance, Macros, Lighting, DeviceSettings, ProgramSettings };
inline constexpr int kPageSlotCount = 6;

class MainPage {
public:
    virtual ~MainPage() = default;

    // The window's InitUI: create the controls (window.add<Kind>(id, rect, &container)).
    virtual void createControls(ui::Dialog& window, ui::Panel& container) = 0;
    // The window's UISize: the container now covers `area` (client coordinates);
    // uiScale is the client height over the design height 788.
    virtual void layout(const QRect& /*area*/, double /*uiScale*/) {}
    // A notification of one of the page's control ids; the result goes back to the
    // control as OnMessage's result.
    virtual int onMessage(int /*controlId*/, int /*code*/, int /*p1*/, int /*p2*/) { return 0; }
    // A numbered window message the main window does not handle itself (the profile
    // window's 1705, the macro editor's 1709..1711, ...). True when the page took it.
    virtual bool onWindowMessage(int /*message*/, int /*wParam*/, int /*lParam*/) { return false; }

    // Re-read the store (the worker's page refresh, a profile switch).
    virtual void reload() {}
    // Fonts and texts again from the language file.
    virtual void applyTexts() {}
    // The current device type's description was loaded (key list, option groups).
    virtual void showDeviceDetails(const catalog::DeviceDetails& /*details*/) {}
    // Close what the page opened, stop a macro recording, drop the keyboard focus from
    // the DPI stage bar.
    virtual void closePopups() {}

    // What the device worker reports (see protocol/WorkerHost.h).
    virtual void showVersion(const protocol::VersionView& /*version*/) {}
    virtual void showReceiverVersion(const QString& /*versionText*/) {}
    virtual void macroRecorderUnlinked() {}
    virtual void showStageCount(int /*count*/) {}
    virtual void showActiveStage(int /*stage*/, int /*dpi*/, bool /*showPopup*/) {}
    virtual void showDpiStages(const protocol::DpiStagesView& /*stages*/) {}
};

} // namespace corvane::app
