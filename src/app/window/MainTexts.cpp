// The main window's texts and fonts, from the language in use.
#include "app/desktop/MainTray.h"
#include "app/frame/LayoutDirection.h"
#include "app/start/AppState.h"
#include "app/start/UiText.h"
#include "app/start/UserValues.h"
#include "app/window/DeviceMainDlg.h"
#include "app/window/MainWindowIds.h"
#include "i18n/LanguageTexts.h"
#include "pages/settings/ProfileDlg.h"
#include "pages/update/UpdateFlow.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"
#include "ui/base/Settings.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/views/DeviceList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/TabControl.h"

#include <iterator>

namespace corvane::app {

namespace {

const QString kInterfaceFont = QStringLiteral("Open Sans Semibold");
// The product title keeps its own font in every language.
const QString kTitleFont = QStringLiteral("黑体");

// A control's text, tooltip and font size (0: the text is set elsewhere).
struct TextBinding {
    int control;
    int text;
    int tip;
    int fontSize;
};
constexpr TextBinding kTexts[] = {
    {MainControl::Website, MainText::Website, 0, 13},
    {MainControl::Close, 0, MainText::CloseTip, 0},
    {MainControl::Minimise, 0, MainText::MinimiseTip, 0},
    {MainControl::Settings, 0, MainText::SettingsTip, 0},
    {MainControl::Maximise, 0, MainText::MaximiseTip, 0},
    {MainControl::VersionLine, 0, 0, 12},
    {MainControl::DeviceState, 0, 0, 14},
    {MainControl::Battery, 0, 0, 12},
    {MainControl::Profile, 0, 0, 14},
    {MainControl::RestoreDefaults, MainText::RestoreDefaults, 0, 14},
    {MainControl::BannerText, MainText::ConnectHint, 0, 16},
    {MainControl::PreviousDevices, 0, MainText::PreviousTip, 0},
    {MainControl::NextDevices, 0, MainText::NextTip, 0},
    {MainControl::DeviceList, 0, 0, 14},
    {MainControl::Tabs, 0, 0, 15},
};

constexpr int kTabTexts[] = {MainText::TabHome,        MainText::TabButtons,
                             MainText::TabPerformance, MainText::TabMacros,
                             MainText::TabLighting,    MainText::TabDeviceSettings};

} // namespace

void DeviceMainDlg::setLanguage(int lcid) {
    appState().currentLcid = lcid;
    i18n::setCurrentLcid(lcid);
    applyLayoutDirection(lcid);
    m_context.userValues->writeUserValue(QStringLiteral("LCID"), QString::number(lcid));
    ui::setDefaultFontName(kInterfaceFont);
    m_fontNames[0] = m_fontNames[1] = kInterfaceFont;
    applyTexts();
}

void DeviceMainDlg::applyTexts() {
    for (const TextBinding& binding : kTexts) {
        ui::Control* target = control(binding.control);
        if (!target)
            continue;
        if (binding.fontSize > 0)
            target->setTextFont(m_fontNames[0], binding.fontSize);
        if (binding.text > 0)
            target->setText(uiText(binding.text));
        if (binding.tip > 0)
            target->setToolTip(uiText(binding.tip));
    }
    // The logo reads as the program's name, not as the letter it draws without its image.
    if (ui::Control* logo = control(MainControl::Logo))
        logo->setAccessibleText(ui::deviceName());
    if (auto* title = find<ui::StaticText>(MainControl::Title)) {
        title->setTextFont(kTitleFont, 18);
        title->setText(uiText(MainText::Title));
    }
    if (auto* version = find<ui::StaticText>(MainControl::VersionLine))
        version->setText(versionLine());
    showConnectionText(m_connectionText);
    if (auto* list = find<ui::DeviceList>(MainControl::DeviceList))
        list->setVersionCaption(uiText(MainText::FirmwareCaption));
    if (auto* tabs = find<ui::TabControl>(MainControl::Tabs)) {
        tabs->setAccessibleText(uiText(MainText::Title));
        for (int i = 0; i < tabs->count() && i < int(std::size(kTabTexts)); ++i)
            tabs->setItemText(i, uiText(kTabTexts[i]));
    }
    if (auto* mouse = find<ui::MousePicture>(MainControl::MousePicture)) {
        for (int i = 0; i < mouse->count() && i < int(m_details.keys.size()); ++i)
            mouse->setCalloutText(i, uiText(m_details.keys[std::size_t(i)].nameId));
    }
    if (m_tray) {
        m_tray->setExitText(uiText(MainText::TrayExit));
        m_tray->setPauseText(uiText(MainText::TrayPause));
    }
    m_updates->applyTexts();

    // The profile button: the current profile's name with the profile word of this
    // language.
    QString profileTitle;
    if (m_worker && m_worker->state().currentProfile() > 0) {
        profileTitle = store::profileButtonText(store::ProfileDatabase::instance(),
                                                m_worker->state().currentProfile(),
                                                uiText(MainText::ProfileWord));
    }
    showProfileName(profileTitle);

    // An open profile list shows the new language as well.
    if (m_profileDlg)
        m_profileDlg->applyTexts();

    // The pages rebuild their own texts: performance, buttons, lighting first.
    for (PageSlot slot : {PageSlot::Performance, PageSlot::Buttons, PageSlot::Lighting,
                          PageSlot::Macros, PageSlot::DeviceSettings, PageSlot::ProgramSettings}) {
        if (Page* target = page(slot); target && isPageBuilt(slot))
            target->applyTexts();
    }
}

} // namespace corvane::app
