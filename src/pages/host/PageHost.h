#pragma once
// pages/host: what pages build on (page, host, ids, texts, dialog interfaces); no other room.
// What a configuration page gets from the main window. app/ implements it (the main
// window); the page tests drive the real window. Every call is made on the UI thread.

#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceDetails.h"
#include "pages/host/UserValues.h"

#include <QString>

#include <vector>

class QWidget;

namespace corvane::pages {

class FileDialogs;
class KeyCapture;
class SystemIntegration;

// What the device worker learnt from the mouse and the pages depend on. It changes only
// when the mouse is read (GetInfo), never by a reset or the factory values.
struct DeviceValues {
    int sensorId = -1;      // sensor model (selects the DPI rules); -1 before the first read
    int rateCapability = 0; // 7 offers all seven report rates, anything else the four up to
                            // 1000 Hz; 0 before the first read
};

class PageHost {
public:
    virtual ~PageHost() = default;

    // --- device work ---
    // Appends a DeviceTask code to the worker's queue. A page writes the store first,
    // then queues, then calls showSaveWait.
    virtual void queueTask(int code) = 0;
    // The saving wait window, when the current device asks for it (showSaveTips).
    virtual void showSaveWait() = 0;
    // The DPI pop-up with a new DPI value, when the current device asks for it
    // (showDpiTips).
    virtual void showDpiPopup(int dpi) = 0;

    // --- the current device and profile ---
    virtual int currentProfile() const = 0;
    virtual int currentDeviceType() const = 0;
    // The description of the current device type (empty until one was loaded).
    virtual const catalog::DeviceDetails& deviceDetails() const = 0;
    virtual const catalog::DeviceCatalog& deviceCatalog() const = 0;
    // The installation folder (config.xml, device/, language/), for the catalog's readers.
    virtual QString exeFolder() const = 0;
    virtual DeviceValues deviceValues() const = 0;
    // The current device answered and the configuration pages are shown.
    virtual bool connectionShown() const = 0;
    // The last scan found a device (the worker polls it when idle).
    virtual bool idlePolling() const = 0;
    // The next start or arrival reads every device type back again (after the user
    // confirmed a factory reset).
    virtual void clearReadBackDone() = 0;
    // A mouse waits in its bootloader: writes the firmware offered for it again, with the
    // firmware progress window (nothing while a firmware update is in hand).
    virtual void writeFirmwareAgain() = 0;
    // A macro was assigned to `button`: the next button task downloads it first.
    virtual void requestMacroDownload(int button) = 0;

    // --- the user ---
    // A message box (style MessageStyle) modal over the main window; its answer: 1 for the
    // first button, 2 for the second or any other close. Tests answer it themselves.
    virtual int showMessage(const QString& text, const QString& title, int style) = 0;
    // The main window's one key capture.
    virtual KeyCapture& keyCapture() = 0;
    // The dialogs that ask for a file to import or a place to export to.
    virtual FileDialogs& fileDialogs() = 0;
    // While a macro is recorded nothing may take the user away from the record button:
    // false disables the page tabs, the profile button and the settings button, true
    // enables them again.
    virtual void setNavigationEnabled(bool enabled) = 0;
    // The per-user values ("LCID", "exit_mode", "autorun_minimize", ...).
    virtual UserValues& userValues() = 0;
    // The desktop outside the window; null when the program runs without it.
    virtual SystemIntegration* systemIntegration() = 0;
    // Makes lcid the language in use (stored as "LCID") and applies every text again.
    virtual void setLanguage(int lcid) = 0;
    // The languages the installation offers (LCIDs, in any order).
    virtual std::vector<int> offeredLanguages() const = 0;
    // Leaves the program settings page for the configuration pages, or the home page
    // when no device is attached or the home tab was the last one.
    virtual void leaveProgramSettings() = 0;
    // The parent of the pages' own windows (colour picker, editors).
    virtual QWidget* mainWindow() = 0;
    // The window's client height over its design height.
    virtual double uiScale() const = 0;
};

} // namespace corvane::pages
