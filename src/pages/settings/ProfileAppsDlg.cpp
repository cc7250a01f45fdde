#include "pages/settings/ProfileAppsDlg.h"

#include "control/requests/AppRuleEdits.h"
#include "i18n/LanguageTexts.h"
#include "store/AppList.h"
#include "store/ProfileDatabase.h"
#include "ui/base/EscapeCloses.h"
#include "ui/base/Skin.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>

#include <algorithm>
#include <cmath>

namespace corvane::pages {

namespace {

QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

// Texts of the dialog.
enum Text {
    kHeadingText = 661,     // "Applications that use %1"
    kRemoveText = 662,      // "Remove"
    kAddText = 663,         // "Add"
    kNameText = 664,        // "Application name"
    kAddLastText = 665,     // "Add %1" (the application used before Corvane)
    kRecentText = 666,      // "Recent applications"
    kDefaultText = 667,     // "Use for all other applications"
    kDefaultNoteText = 668, // "All other applications use this profile."
    kNoLastAppText = 669,   // "Add the application used last"
    kCloseText = 5,         // "Close"
};

constexpr int kWidth = ProfileAppsDlg::kWidth;
constexpr int kHeight = ProfileAppsDlg::kHeight;

} // namespace

ProfileAppsDlg::ProfileAppsDlg(ProfileAppsChoices choices) : m_choices(std::move(choices)) {
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
}

void ProfileAppsDlg::ask(QWidget* owner, const ProfileAppsChoices& choices) {
    ProfileAppsDlg dialog(choices);
    QWidget* parent = owner ? owner->window() : nullptr;
    // Drawn at the main window's scale, as the profile list that opened it.
    double scale = 1.0;
    if (auto* main = dynamic_cast<ui::Dialog*>(parent))
        scale = main->interfaceScale();
    dialog.setInterfaceScale(scale);
    const QRect rect(0, 0, int(std::lround(kWidth * scale)), int(std::lround(kHeight * scale)));
    if (!dialog.create(parent, QString::fromLatin1(kProfileAppsDlgTitle), ui::StylePopup,
                       ui::ExLayered | ui::ExToolWindow, rect))
        return;
    dialog.centre();
    dialog.runModal();
}

void ProfileAppsDlg::InitUI(const QRect& /*client*/) {
    // Created in the order Tab walks them.
    auto* heading = add<ui::StaticText>(Heading, ui::ltrb(20, 14, kWidth - 20, 46));
    heading->setTextFont({}, 16, ui::FontBold);
    heading->setWordWrap(false);
    auto* apps = add<ui::ListBox>(AppList, ui::ltrb(20, 52, kWidth - 20, 186));
    apps->setTextFont({}, 14);
    add<ui::PushButton>(RemoveButton, ui::ltrb(kWidth - 150, 196, kWidth - 20, 228));
    // The default button, or in its place the note that the profile is the default.
    add<ui::PushButton>(DefaultButton, ui::ltrb(20, 244, kWidth - 20, 276));
    auto* note = add<ui::StaticText>(DefaultNote, ui::ltrb(20, 236, kWidth - 20, 292));
    note->setTextFont({}, 13);
    add<ui::PushButton>(AddLastButton, ui::ltrb(20, 302, kWidth - 20, 334));
    add<ui::ComboBox>(RecentList, ui::ltrb(20, 344, kWidth - 20, 376));
    auto* field = add<ui::TextField>(NameField, ui::ltrb(20, 386, kWidth - 150, 418));
    field->setMaxLength(int(store::kMaxAppNameLength));
    add<ui::PushButton>(AddButton, ui::ltrb(kWidth - 140, 386, kWidth - 20, 418));
    add<ui::PushButton>(CloseButton,
                        ui::ltrb(kWidth - 140, kHeight - 42, kWidth - 20, kHeight - 12));
    applyTexts();
    refresh();

    // Enter in the name field adds the name; Delete on the list removes its current item.
    if (auto* edit = field->findChild<QLineEdit*>()) {
        connect(edit, &QLineEdit::returnPressed, this, [this, field] {
            addApp(field->text());
            field->setFocus(Qt::OtherFocusReason);
        });
    }
    if (auto* view = apps->findChild<QListWidget*>()) {
        auto* remove = new QShortcut(QKeySequence::Delete, view);
        remove->setContext(Qt::WidgetShortcut);
        connect(remove, &QShortcut::activated, this, [this] { removeCurrent(); });
    }
    ui::EscapeCloses::install(this, [this] {
        if (!isRunningModal())
            return false;
        endModal(ui::ResultSecond);
        return true;
    });
    apps->setFocus(Qt::OtherFocusReason);
}

void ProfileAppsDlg::applyTexts() {
    control(Heading)->setText(text(kHeadingText).arg(m_choices.profileName));
    control(RemoveButton)->setText(text(kRemoveText));
    control(AddButton)->setText(text(kAddText));
    control(CloseButton)->setText(text(kCloseText));
    control(DefaultButton)->setText(text(kDefaultText));
    control(DefaultNote)->setText(text(kDefaultNoteText));
    find<ui::ListBox>(AppList)->setAccessibleText(text(kHeadingText).arg(m_choices.profileName));
    auto* field = find<ui::TextField>(NameField);
    field->setPlaceholder(text(kNameText));
    field->setAccessibleText(text(kNameText));
    auto* last = control(AddLastButton);
    last->setText(m_choices.lastApp.isEmpty() ? text(kNoLastAppText)
                                              : text(kAddLastText).arg(m_choices.lastApp));
    last->setEnabled(!m_choices.lastApp.isEmpty());
    auto* recent = find<ui::ComboBox>(RecentList);
    recent->setAccessibleText(text(kRecentText));
    recent->clear();
    recent->addItem(text(kRecentText), -1); // the title: choosing it picks nothing
    for (int i = 0; i < m_choices.recentApps.size(); ++i)
        recent->addItem(m_choices.recentApps[i], i);
    recent->setCurrentIndex(0);
    recent->setEnabled(!m_choices.recentApps.isEmpty());
}

void ProfileAppsDlg::refresh() {
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    auto* list = find<ui::ListBox>(AppList);
    const int current = list->currentIndex();
    list->clear();
    for (const QString& app : control::profileApps(database, m_choices.profile))
        list->addItem(app);
    if (list->count() > 0)
        list->setCurrentIndex(std::clamp(current, 0, list->count() - 1));
    control(RemoveButton)->setEnabled(list->count() > 0);

    const bool isDefault = database.getDefaultAppProfile() == m_choices.profile;
    auto* makeDefault = control(DefaultButton);
    if (isDefault && makeDefault->hasFocus())
        list->setFocus(Qt::OtherFocusReason); // the button goes away under the keyboard
    makeDefault->setVisible(!isDefault);
    control(DefaultNote)->setVisible(isDefault);
}

void ProfileAppsDlg::addApp(const QString& app) {
    // Names a rule cannot hold (a control character, too long) are not offered to it.
    if (!store::isValidAppName(app))
        return;
    // A name the store refused stays in the field to be tried again.
    if (control::addAppRule(store::ProfileDatabase::instance(), m_choices.profile, app) ==
        control::RuleEdit::Done)
        find<ui::TextField>(NameField)->setText({});
    refresh();
    auto* list = find<ui::ListBox>(AppList);
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).compare(control::ruleAppName(app), Qt::CaseInsensitive) == 0)
            list->setCurrentIndex(i);
    }
}

void ProfileAppsDlg::removeCurrent() {
    auto* list = find<ui::ListBox>(AppList);
    if (list->currentIndex() < 0)
        return;
    control::removeAppRule(store::ProfileDatabase::instance(), m_choices.profile,
                           list->itemText(list->currentIndex()));
    refresh();
}

void ProfileAppsDlg::makeDefault() {
    control::setDefaultAppProfile(store::ProfileDatabase::instance(), m_choices.profile);
    refresh();
}

int ProfileAppsDlg::OnMessage(int controlId, int code, int /*param1*/, int param2) {
    if (controlId == RecentList && code == ui::Notify::Click) {
        // A pick fills the name field (arrow keys go through the names one by one: each
        // would otherwise be added); Add or Enter takes it.
        if (param2 >= 0 && param2 < m_choices.recentApps.size())
            find<ui::TextField>(NameField)->setText(m_choices.recentApps[param2]);
        return 0;
    }
    if (code != ui::Notify::Click)
        return 0;
    switch (controlId) {
    case AddButton:
        addApp(find<ui::TextField>(NameField)->text());
        break;
    case AddLastButton:
        addApp(m_choices.lastApp);
        break;
    case RemoveButton:
        removeCurrent();
        break;
    case DefaultButton:
        makeDefault();
        break;
    case CloseButton:
        endModal(ui::ResultFirst);
        break;
    default:
        break;
    }
    return 0;
}

} // namespace corvane::pages
