#pragma once
// How a configuration page plugs into the main window. The window owns one container
// panel per page; a page builds its controls inside it (PageControls), lays them out,
// takes the notifications of its controls and is told when to reload, re-translate, and
// what the device worker reports that concerns it. What a page needs from the window
// comes through the PageHost it was made with. Every call comes on the UI thread.

#include "catalog/DeviceDetails.h"
#include "pages/host/PageIds.h"
#include "protocol/worker/WorkerHost.h"

#include <QRect>
#include <QString>

namespace corvane::pages {

class PageControls;

class Page {
public:
    virtual ~Page() = default;

    // The window's InitUI: create the controls with controls.add<Kind>(local, rect). The
    // object lives as long as the window; a page may keep it to find its controls.
    virtual void createControls(PageControls& controls) = 0;
    // The window's UISize: the container now covers `area` (client coordinates);
    // uiScale is the client height over the design height 788.
    virtual void layout(const QRect& /*area*/, double /*uiScale*/) {}
    // A notification of one of the page's controls, by the page's own number (and of the
    // window's restore button 46 for the device settings page); the result goes back to
    // the control as OnMessage's result.
    virtual int onMessage(int /*local*/, int /*code*/, int /*p1*/, int /*p2*/) { return 0; }
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
    // A click on the callout of the window's mouse picture at `index` (the button page
    // keeps its key list on the same selection).
    virtual void mouseKeyClicked(int /*index*/) {}
    // The page needs the current profile to stay put (a macro recording runs): profiles
    // that follow the focused application wait.
    virtual bool holdsProfile() const { return false; }

    // What the device worker reports (see protocol/worker/WorkerHost.h).
    virtual void showVersion(const protocol::VersionView& /*version*/) {}
    virtual void showReceiverVersion(const QString& /*versionText*/) {}
    virtual void macroRecorderUnlinked() {}
    virtual void showStageCount(int /*count*/) {}
    virtual void showActiveStage(int /*stage*/, int /*dpi*/, bool /*showPopup*/) {}
    virtual void showDpiStages(const protocol::DpiStagesView& /*stages*/) {}
    // A program or firmware version check completed (the settings pages' status lines).
    virtual void showUpdateStatus(const protocol::UpdateStatusView& /*status*/) {}
};

} // namespace corvane::pages
