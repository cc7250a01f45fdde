#include "pages/settings/ProgramSettingsPage.h"

#include "i18n/LanguageChoice.h"
#include "i18n/LanguageTexts.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "pages/host/SystemIntegration.h"
#include "pages/host/UserValues.h"
#include "pages/settings/SettingsCommands.h"
#include "protocol/worker/DeviceTask.h"
#include "ui/base/Skin.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"

#include <set>

namespace corvane::pages {

namespace {

QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

const QString kExitMode = QStringLiteral("exit_mode");
const QString kAutorunMinimize = QStringLiteral("autorun_minimize");
const QString kExitModeGroup = QStringLiteral("IDC_SET_STC_EXITMODE");

// Controls that show one interface text.
struct TextEntry {
    int local;
    int textId;
};
constexpr TextEntry kTexts[] = {
    {ProgramSettingsPage::UpdateButton, 612},  {ProgramSettingsPage::RestoreButton, 611},
    {ProgramSettingsPage::LanguageLabel, 600}, {ProgramSettingsPage::StartLabel, 603},
    {ProgramSettingsPage::AutorunBox, 604},    {ProgramSettingsPage::MinimiseBox, 605},
    {ProgramSettingsPage::CloseLabel, 607},    {ProgramSettingsPage::HideToTrayRadio, 608},
    {ProgramSettingsPage::ExitRadio, 609},     {ProgramSettingsPage::ProductLine, 2},
    {ProgramSettingsPage::WebsiteLink, 3},     {ProgramSettingsPage::FeedbackLink, 615},
    {ProgramSettingsPage::QaLink, 616},
};

constexpr int kLabels[] = {ProgramSettingsPage::LanguageLabel, ProgramSettingsPage::StartLabel,
                           ProgramSettingsPage::CloseLabel};
constexpr int kLinks[] = {ProgramSettingsPage::WebsiteLink, ProgramSettingsPage::FeedbackLink,
                          ProgramSettingsPage::QaLink};

} // namespace

void ProgramSettingsPage::createControls(PageControls& controls) {
    m_controls = &controls;
    controls.add<ui::Panel>(Background)->setFillColour(ui::skin::panelColour());
    auto* back = controls.add<ui::PushButton>(BackButton);
    back->setImages(QStringLiteral("img_return.png"));
    back->setGlyph(ui::Glyph::Previous);
    controls.add<ui::StaticText>(VersionLine)->setWordWrap(false);
    controls.add<ui::StaticText>(VersionStatus)->setTextColour(ui::skin::mutedTextColour());
    for (int id : {UpdateButton, RestoreButton})
        controls.add<ui::PushButton>(id)->setImages(QStringLiteral("img_button.png"));
    for (int id : kLabels)
        controls.add<ui::StaticText>(id)->setTextFont({}, 16, ui::FontBold);
    controls.add<ui::ComboBox>(LanguageCombo)->setTextFont({}, 14);
    controls.add<ui::CheckBox>(AutorunBox);
    controls.add<ui::CheckBox>(MinimiseBox);
    for (int id : {Separator1, Separator2})
        controls.add<ui::Picture>(id)->setFillColour(QColor(0xE6, 0xE6, 0xE6));
    for (int id : {HideToTrayRadio, ExitRadio})
        controls.add<ui::RadioButton>(id)->setGroup(kExitModeGroup);
    auto* product = controls.add<ui::StaticText>(ProductLine);
    product->setAlignment(Qt::AlignCenter);
    product->setTextColour(ui::skin::mutedTextColour());
    for (int id : kLinks)
        controls.add<ui::PushButton>(id)->setLinkStyle(true);

    fillLanguageChoice();
    readStoredChoices();
    applyTexts();
}

void ProgramSettingsPage::fillLanguageChoice() {
    auto* combo = m_controls->find<ui::ComboBox>(LanguageCombo);
    combo->clear();
    const std::vector<int> offered = m_host.offeredLanguages();
    const std::set<int> offeredSet(offered.begin(), offered.end());
    for (const i18n::LanguageChoiceRow& row : i18n::offeredLanguages(offeredSet))
        combo->addItem(row.displayName.toString(), row.lcid);
    if (!combo->selectData(i18n::currentLcid()))
        combo->setCurrentIndex(-1);
}

void ProgramSettingsPage::readStoredChoices() {
    UserValues& values = m_host.userValues();
    SystemIntegration* system = m_host.systemIntegration();
    const bool autorun = system && system->isAutorunEnabled();
    m_controls->find<ui::CheckBox>(AutorunBox)->setChecked(autorun);
    auto* minimise = m_controls->find<ui::CheckBox>(MinimiseBox);
    minimise->setEnabled(autorun);
    minimise->setChecked(autorun && values.readUserValue(kAutorunMinimize) == 1);
    const bool hide = values.readUserValue(kExitMode) == 1;
    m_controls->find<ui::RadioButton>(hide ? HideToTrayRadio : ExitRadio)->setChecked(true);
}

void ProgramSettingsPage::layout(const QRect& area, double /*uiScale*/) {
    if (!m_controls)
        return;
    const int w = area.width();
    const int h = area.height();
    constexpr int left = 80;
    constexpr int field = 300;
    const int right = w - 80;
    auto place = [&](int id, int x, int y, int width, int height) {
        m_controls->control(id)->setGeometry(x, y, width, height);
    };
    place(Background, 0, 0, w, h);
    place(BackButton, 24, 20, 36, 36);
    place(VersionLine, left, 24, 380, 28);
    place(VersionStatus, left, 56, 380, 28);
    place(UpdateButton, right - 260 - 16 - 260, 32, 260, 40);
    place(RestoreButton, right - 260, 32, 260, 40);
    place(Separator1, left, 100, right - left, 1);
    place(LanguageLabel, left, 130, 240, 30);
    place(LanguageCombo, left + 260, 128, field, 34);
    place(StartLabel, left, 200, 240, 30);
    place(AutorunBox, left + 260, 200, 360, 30);
    place(MinimiseBox, left + 260, 240, 360, 30);
    place(CloseLabel, left, 310, 240, 30);
    place(HideToTrayRadio, left + 260, 310, 360, 30);
    place(ExitRadio, left + 260, 350, 360, 30);
    place(Separator2, left, 410, right - left, 1);
    place(ProductLine, left, h - 110, right - left, 28);
    const int linkWidth = 180;
    const int linksLeft = (w - 3 * linkWidth) / 2;
    for (int i = 0; i < 3; ++i)
        place(kLinks[i], linksLeft + i * linkWidth, h - 70, linkWidth, 28);
}

int ProgramSettingsPage::onMessage(int local, int code, int p1, int p2) {
    if (code != ui::Notify::Click)
        return 0;
    switch (local) {
    case BackButton:
        m_host.leaveProgramSettings();
        break;
    case LanguageCombo:
        if (p2 > 0)
            m_host.setLanguage(p2);
        break;
    case AutorunBox:
        autorunBox(p1 != 0);
        break;
    case MinimiseBox:
        m_host.userValues().writeUserValue(kAutorunMinimize,
                                           p1 ? QStringLiteral("1") : QStringLiteral("0"));
        break;
    case HideToTrayRadio:
    case ExitRadio: {
        const bool hide = m_controls->find<ui::RadioButton>(HideToTrayRadio)->isChecked();
        m_host.userValues().writeUserValue(kExitMode,
                                           hide ? QStringLiteral("1") : QStringLiteral("0"));
        break;
    }
    case UpdateButton:
        m_host.queueTask(protocol::DeviceTask::CheckProgramVersion);
        break;
    case RestoreButton:
        restoreDefaults(m_host);
        break;
    case WebsiteLink:
    case FeedbackLink:
    case QaLink:
        openLink(local);
        break;
    default:
        break;
    }
    return 0;
}

void ProgramSettingsPage::autorunBox(bool on) {
    auto* minimise = m_controls->find<ui::CheckBox>(MinimiseBox);
    if (on) {
        minimise->setEnabled(true);
    } else {
        minimise->setChecked(false);
        minimise->setEnabled(false);
    }
    // Failures are silent: the boxes keep what the user chose.
    if (SystemIntegration* system = m_host.systemIntegration())
        system->setAutorun(on);
}

void ProgramSettingsPage::openLink(int local) {
    const catalog::ProductInfo& product = m_host.deviceCatalog().product;
    const QString url = local == WebsiteLink    ? product.website
                        : local == FeedbackLink ? product.feedback
                                                : product.qa;
    // config.xml is installation data, but a link is only ever a web address: anything
    // else (a file, a program) is not handed to the desktop.
    if (!isWebLink(url))
        return;
    if (SystemIntegration* system = m_host.systemIntegration())
        system->openUrl(url);
}

void ProgramSettingsPage::applyTexts() {
    if (!m_controls)
        return;
    for (const TextEntry& entry : kTexts)
        m_controls->control(entry.local)->setText(text(entry.textId));
    // The return button shows only its arrow.
    m_controls->control(BackButton)->setToolTip(text(110));
    m_controls->control(LanguageCombo)->setAccessibleText(text(600));
    m_controls->control(VersionLine)
        ->setText(QStringLiteral("%1: v%2").arg(text(17), m_host.deviceCatalog().product.version));
    m_controls->control(VersionStatus)
        ->setText(m_versionChecked ? updateStatusLine(m_version) : text(580));
    // The language names are the same in every language; the choice follows the language
    // now in use.
    m_controls->find<ui::ComboBox>(LanguageCombo)->selectData(i18n::currentLcid());
}

void ProgramSettingsPage::showUpdateStatus(const protocol::UpdateStatusView& status) {
    if (status.kind != protocol::UpdateKind::Program || !m_controls)
        return;
    m_versionChecked = true;
    m_version = status;
    m_controls->control(VersionStatus)->setText(updateStatusLine(status));
    m_controls->control(UpdateButton)->setEnabled(status.buttonEnabled);
}

} // namespace corvane::pages
