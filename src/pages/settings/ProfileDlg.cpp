#include "pages/settings/ProfileDlg.h"

#include "i18n/LanguageTexts.h"
#include "store/ProfileDatabase.h"
#include "store/ProfileStartup.h"
#include "ui/base/EscapeCloses.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/views/Picture.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace corvane::pages {

namespace {

QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

// The profile word of the profile button (text 61).
constexpr int kProfileWord = 61;
constexpr int kImportText = 26;
constexpr int kExportText = 27;
// "Use for applications…"
constexpr int kAppsText = 660;

QString displayName(const QString& stored) {
    return store::profileDisplayName(stored, store::kShortProfileWords, text(kProfileWord));
}

} // namespace

ProfileDlg::ProfileDlg(ui::Dialog& mainWindow, int currentProfile)
    : m_main(mainWindow), m_current(currentProfile), m_renamedProfile(currentProfile) {}

void ProfileDlg::run(const QRect& screenRect) {
    // Drawn at the main window's scale, like the profile button it opens above: its texts
    // then keep their proportion to its width on a small or scaled screen.
    setInterfaceScale(m_main.interfaceScale());
    if (!create(&m_main, QString::fromLatin1(kTitle), ui::StylePopup, ui::ExToolWindow, screenRect))
        return;
    setCaptionHeight(0);
    fitButtonTexts();
    runModal();
}

void ProfileDlg::fitButtonTexts() {
    // The pop-up takes the profile button's width; a language whose "Import" or "Export"
    // is longer than half of it, or whose applications button is longer than all of it,
    // gets a wider pop-up, grown evenly on both sides (each side grows the half buttons by
    // its amount, the whole-width one by twice that).
    int missing = 0;
    for (int id : {ImportButton, ExportButton, AppsButton}) {
        const ui::Control* button = control(id);
        const int margin = int(std::lround(6 * interfaceScale()));
        const int needed =
            QFontMetrics(button->font()).horizontalAdvance(button->text()) + 2 * margin;
        const int shortBy = needed - button->width();
        missing = std::max(missing, id == AppsButton ? (shortBy + 1) / 2 : shortBy);
    }
    if (missing > 0)
        setGeometry(geometry().adjusted(-missing, 0, missing, 0));
}

void ProfileDlg::InitUI(const QRect& /*client*/) {
    auto* content = add<ui::Picture>(Content, {});
    content->setImage(QStringLiteral("img_area_content.png"));
    auto* list = add<ui::ListBox>(List, {});
    list->setTextFont({}, 14);
    list->setAlignment(Qt::AlignCenter);
    list->setEditable(true);
    for (int id : {AppsButton, ImportButton, ExportButton})
        add<ui::PushButton>(id, {})->setImages(QStringLiteral("img_button.png"));
    fillList();
    applyTexts();
    // Escape closes the pop-up as a click elsewhere does (a name being edited takes the
    // first Escape itself and keeps the old name).
    ui::EscapeCloses::install(this, [this] {
        if (!isRunningModal() || m_closing)
            return false;
        if (m_nameChanged)
            post(ProfileSwitch, m_renamedProfile);
        finish();
        return true;
    });
}

void ProfileDlg::UISize(const QRect& client) {
    const int right = client.width();
    const int bottom = client.height();
    control(Content)->setGeometry(ui::ltrb(10, 10, right - 10, bottom - 80));
    control(List)->setGeometry(ui::ltrb(10, 10, right - 10, bottom - 80));
    control(AppsButton)->setGeometry(ui::ltrb(10, bottom - 70, right - 10, bottom - 42));
    control(ImportButton)->setGeometry(ui::ltrb(10, bottom - 35, right / 2 - 5, bottom - 7));
    control(ExportButton)
        ->setGeometry(ui::ltrb(right / 2 + 5, bottom - 35, right - 10, bottom - 7));
}

void ProfileDlg::fillList() {
    auto* list = find<ui::ListBox>(List);
    list->clear();
    std::vector<store::ProfileRecord> profiles;
    store::ProfileDatabase::instance().listProfiles(profiles);
    for (const store::ProfileRecord& profile : profiles)
        list->addItem(displayName(profile.name), profile.id);
    list->setCurrentIndex(list->findData(m_current));
}

void ProfileDlg::applyTexts() {
    if (!isCreated())
        return;
    control(ImportButton)->setText(text(kImportText));
    control(ExportButton)->setText(text(kExportText));
    control(AppsButton)->setText(text(kAppsText));
    // The names show the profile word of the language now in use.
    auto* list = find<ui::ListBox>(List);
    if (list->isEditing())
        return;
    for (int i = 0; i < list->count(); ++i) {
        QString stored;
        if (store::ProfileDatabase::instance().getProfileName(list->itemData(i), stored))
            list->setItemText(i, displayName(stored));
    }
}

int ProfileDlg::OnMessage(int controlId, int code, int param1, int param2) {
    if (controlId == List && code == ui::Notify::ItemChosen) {
        post(ProfileSwitch, param2);
        finish();
    } else if (controlId == List && code == ui::Notify::EditEnded) {
        renamed(param1, param2);
    } else if ((controlId == ImportButton || controlId == ExportButton) &&
               code == ui::Notify::Click) {
        const int selected = find<ui::ListBox>(List)->currentData();
        if (m_nameChanged)
            post(ProfileSwitch, selected);
        post(controlId == ImportButton ? ProfileImport : ProfileExport, selected);
        finish();
    } else if (controlId == AppsButton && code == ui::Notify::Click) {
        // The applications of the selected profile; a rename is kept as a click elsewhere
        // keeps it.
        if (m_nameChanged)
            post(ProfileSwitch, m_renamedProfile);
        post(ProfileApps, find<ui::ListBox>(List)->currentData());
        finish();
    }
    return 0;
}

void ProfileDlg::renamed(int index, int profile) {
    auto* list = find<ui::ListBox>(List);
    const QString name = list->itemText(index).trimmed();
    store::ProfileDatabase& store = store::ProfileDatabase::instance();
    if (!name.isEmpty() && store.renameProfile(profile, name)) {
        m_renamedProfile = profile;
        m_nameChanged = true;
        list->setItemText(index, displayName(name));
        return;
    }
    // Nothing was stored (an empty name, or the store refused it): the list shows the
    // name the profile really has.
    QString stored;
    if (store.getProfileName(profile, stored))
        list->setItemText(index, displayName(stored));
}

int ProfileDlg::OnNcActivate(bool active) {
    // Decided once the deactivation has run its course: an edit in progress is committed
    // when its editor loses the focus, which comes after this notice.
    if (!active && isRunningModal() && !m_closing)
        postMessage(kDeactivated);
    return 0;
}

int ProfileDlg::OnWindowMessage(int message, int wParam, int lParam) {
    if (message == kDeactivated && isRunningModal() && !m_closing && !isActiveWindow()) {
        // The user clicked elsewhere: a renamed profile becomes the current one.
        if (m_nameChanged)
            post(ProfileSwitch, m_renamedProfile);
        finish();
        return 0;
    }
    return ui::Dialog::OnWindowMessage(message, wParam, lParam);
}

void ProfileDlg::post(int command, int profile) {
    m_main.postMessage(kProfileCommandMessage, command, profile);
}

void ProfileDlg::finish() {
    m_closing = true;
    endModal(ui::ResultFirst);
}

} // namespace corvane::pages
