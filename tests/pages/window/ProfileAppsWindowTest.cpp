// "Use for applications…" in the profile list: the applications a profile is for, edited
// with real clicks and keys, stored as corvanectl and the session bus store them, and
// followed by the profile at once.
#include "window/DropDown.h"
#include "window/PageWindowTest.h"
#include "window/TabWalk.h"

#include "focus/ProfileFollower.h"
#include "pages/settings/ProfileAppsDlg.h"
#include "pages/settings/ProfileDlg.h"
#include "store/AppList.h"
#include "store/ProfileDatabase.h"
#include "store/sqlite/SQLiteDB.h"
#include "ui/access/Accessibility.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/TextField.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace corvane::pages::test {
namespace {

using Apps = ProfileAppsDlg;

class ProfileAppsWindowTest : public PageWindowTest {
protected:
    static store::ProfileDatabase& db() { return store::ProfileDatabase::instance(); }
    static QStringList apps(int profile) {
        QString stored;
        db().getProfileApps(profile, stored);
        return store::parseAppList(stored);
    }

    // The focus as a watcher (or ReportFocus) tells it, waited for until it settled.
    void focusOn(const QString& appId) {
        focus::ProfileFollower* follower = window->profileFollower();
        ASSERT_NE(follower, nullptr);
        bool settled = false;
        const auto connection = QObject::connect(
            follower, &focus::ProfileFollower::settled,
            [&](const focus::FocusedApp& app) { settled = settled || app.appId == appId; });
        follower->focusChanged({appId, {}, appId + QStringLiteral(" window"), 0});
        EXPECT_TRUE(waitUntil([&] { return settled; }, 60000)) << "the focus never settled";
        QObject::disconnect(connection);
    }

    // Opens the profile list, moves its selection `down` items with the arrow key, presses
    // "Use for applications…" (a click, or Tab and Return) and runs `inside` while the
    // applications dialog is shown.
    void withAppsDialog(int down, const std::function<void(Apps&)>& inside,
                        bool byKeyboard = false) {
        bool ran = false;
        const auto appsShown =
            whenModal(QString::fromLatin1(kProfileAppsDlgTitle), [&](ui::Dialog& shown) {
                auto& dialog = static_cast<Apps&>(shown);
                dialog.activateWindow();
                EXPECT_TRUE(waitUntil([&] { return dialog.isActiveWindow(); }, 60000));
                inside(dialog);
                ran = true;
                if (dialog.isRunningModal())
                    dialog.endModal(ui::ResultSecond);
            });
        const auto listShown =
            whenModal(QString::fromLatin1(ProfileDlg::kTitle), [&](ui::Dialog& shown) {
                shown.activateWindow();
                EXPECT_TRUE(waitUntil([&] { return shown.isActiveWindow(); }, 60000));
                auto* view = shown.control(ProfileDlg::List)->findChild<QListWidget*>();
                view->setFocus();
                for (int i = 0; i < down; ++i)
                    QTest::keyClick(view, Qt::Key_Down);
                ui::Control* apps = shown.control(ProfileDlg::AppsButton);
                if (!byKeyboard) {
                    QTest::mouseClick(apps, Qt::LeftButton);
                    return;
                }
                QTest::keyClick(view, Qt::Key_Tab);
                EXPECT_EQ(QApplication::focusWidget(), apps) << "Tab goes from the list to it";
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            });
        ui::Control* button = window->control(45);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        EXPECT_TRUE(waitUntil([&] { return ran; }, 60000)) << "the dialog never ran";
    }

    static QListWidget& listView(Apps& dialog) {
        return *dialog.control(Apps::AppList)->findChild<QListWidget*>();
    }
    static QStringList shown(Apps& dialog) {
        auto* list = dialog.find<ui::ListBox>(Apps::AppList);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }
    static void clickOn(Apps& dialog, int control) {
        QTest::mouseClick(dialog.control(control), Qt::LeftButton);
    }
    static QLineEdit* nameField(Apps& dialog) {
        return dialog.control(Apps::NameField)->findChild<QLineEdit*>();
    }
};

// Everything the dialog offers, with the mouse and the keyboard, checked in the store.
TEST_F(ProfileAppsWindowTest, AddsRemovesAndMakesTheDefaultWithClicksAndKeys) {
    startWindow({});
    ASSERT_TRUE(db().setProfileApps(2, QStringLiteral("blender")));
    ASSERT_TRUE(db().setProfileApps(3, QStringLiteral("vlc")));
    focusOn(QStringLiteral("steam_app_730"));
    focusOn(QStringLiteral("firefox")); // the last one before Corvane's window

    withAppsDialog(2, [&](Apps& dialog) {
        EXPECT_TRUE(dialog.control(Apps::Heading)->text().contains(englishText(61) + " 3"))
            << dialog.control(Apps::Heading)->text().toStdString();
        EXPECT_EQ(shown(dialog), QStringList{QStringLiteral("vlc")});

        // The application used last, in one click.
        EXPECT_EQ(dialog.control(Apps::AddLastButton)->text(), englishText(665).arg("firefox"));
        clickOn(dialog, Apps::AddLastButton);
        EXPECT_EQ(apps(3), (QStringList{"vlc", "firefox"}));

        // A name typed and Enter; it leaves the profile that had it.
        QLineEdit* field = nameField(dialog);
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("Blender"));
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(apps(3), (QStringList{"vlc", "firefox", "Blender"}));
        EXPECT_EQ(apps(2), QStringList());
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_TRUE(field->hasFocus()) << "ready for the next name";

        // A recent application picked from the list, then Add.
        auto* recent = dialog.control(Apps::RecentList)->findChild<QComboBox*>();
        ASSERT_EQ(recent->count(), 3) << "the title, firefox and the game";
        EXPECT_EQ(recent->itemText(1), QStringLiteral("firefox")) << "most recent first";
        chooseByClicking(recent, 2);
        EXPECT_EQ(field->text(), QStringLiteral("steam_app_730"));
        EXPECT_EQ(apps(3).size(), 3) << "a pick alone adds nothing";
        clickOn(dialog, Apps::AddButton);
        EXPECT_EQ(shown(dialog), (QStringList{"vlc", "firefox", "Blender", "steam_app_730"}));

        // Delete on a list item, then the Remove button on the current one.
        QListWidget& view = listView(dialog);
        view.setFocus();
        view.setCurrentRow(0);
        QTest::keyClick(&view, Qt::Key_Delete);
        EXPECT_EQ(apps(3), (QStringList{"firefox", "Blender", "steam_app_730"}));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          view.visualItemRect(view.item(0)).center());
        clickOn(dialog, Apps::RemoveButton);
        EXPECT_EQ(apps(3), (QStringList{"Blender", "steam_app_730"}));
        EXPECT_EQ(shown(dialog), apps(3));

        // The default for every other application.
        ASSERT_EQ(db().getDefaultAppProfile(), 1);
        EXPECT_TRUE(dialog.control(Apps::DefaultNote)->isHidden());
        clickOn(dialog, Apps::DefaultButton);
        EXPECT_EQ(db().getDefaultAppProfile(), 3);
        EXPECT_TRUE(dialog.control(Apps::DefaultButton)->isHidden());
        EXPECT_FALSE(dialog.control(Apps::DefaultNote)->isHidden());

        // Escape closes it.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isRunningModal());
    });
    EXPECT_EQ(profile(), 1) << "opening the dialog switches nothing";
}

// A store that refuses the write (a full disk): the list shows what is stored, and the
// typed name stays in the field to be tried again.
TEST_F(ProfileAppsWindowTest, ANameTheStoreRefusesStaysInTheField) {
    startWindow({});
    ASSERT_TRUE(db().setProfileApps(1, QStringLiteral("vlc")));
    ASSERT_EQ(db().connection().exec("CREATE TRIGGER refuse BEFORE UPDATE OF app ON "
                                     "t_profile_data BEGIN SELECT RAISE(ABORT, 'full'); END"),
              store::kSqliteOk);
    withAppsDialog(0, [&](Apps& dialog) {
        QLineEdit* field = nameField(dialog);
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("krita"));
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(field->text(), QStringLiteral("krita"));
        EXPECT_EQ(shown(dialog), QStringList{QStringLiteral("vlc")});
    });
    EXPECT_EQ(apps(1), QStringList{QStringLiteral("vlc")});
}

// Tab reaches every control once, in the order they stand, each with a name a screen
// reader speaks; no application had the focus yet, so there is nothing to add in one click.
TEST_F(ProfileAppsWindowTest, TabWalksEveryControlAndEachHasAName) {
    ui::installAccessibility(); // as the program does at start
    startWindow({});
    ASSERT_TRUE(db().setProfileApps(1, QStringLiteral("vlc")));
    withAppsDialog(0, [&](Apps& dialog) {
        const std::set<QWidget*> focusable = focusableControls(&dialog);
        const std::vector<QWidget*> reached = walkWithTab(&dialog, firstInTabOrder(&dialog));
        std::vector<int> order;
        for (QWidget* widget : reached) {
            auto* control = dynamic_cast<ui::Control*>(widget);
            if (!control)
                control = dynamic_cast<ui::Control*>(widget->parentWidget());
            ASSERT_NE(control, nullptr);
            order.push_back(control->id());
            // What a screen reader reads for the control that has the focus.
            QAccessibleInterface* access = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(access, nullptr);
            EXPECT_FALSE(access->text(QAccessible::Name).isEmpty())
                << "control " << control->id() << " has no name";
        }
        EXPECT_EQ(order, (std::vector<int>{Apps::AppList, Apps::RemoveButton, Apps::NameField,
                                           Apps::AddButton, Apps::CloseButton}))
            << "profile 1 is the default already, and no application had the focus";
        EXPECT_EQ(reached.size(), focusable.size());
        EXPECT_FALSE(dialog.control(Apps::AddLastButton)->isEnabled());
        EXPECT_FALSE(dialog.control(Apps::RecentList)->isEnabled());
        clickOn(dialog, Apps::CloseButton);
        EXPECT_FALSE(dialog.isRunningModal());
    });
}

// A rule added in the dialog is followed at once: the game's focus moves the mouse to the
// profile (250 Hz there), an application without a rule back to the default (1000 Hz).
TEST_F(ProfileAppsWindowTest, ARuleAddedInTheDialogMovesTheMouseWhenTheApplicationHasTheFocus) {
    startWindow({});
    ASSERT_TRUE(db().setSetting(2, u"report_rate", 4)); // 250 Hz
    waitForWorker();
    ASSERT_EQ(held().reportRateHz, 1000);
    withAppsDialog(
        1,
        [&](Apps& dialog) {
            QLineEdit* field = nameField(dialog);
            field->setFocus();
            QTest::keyClicks(field, QStringLiteral("steam_app_730"));
            QTest::keyClick(field, Qt::Key_Return);
            clickOn(dialog, Apps::CloseButton);
        },
        /*byKeyboard=*/true);
    ASSERT_EQ(profile(), 1);

    focusOn(QStringLiteral("steam_app_730"));
    EXPECT_TRUE(waitUntil([&] { return profile() == 2; }, 60000));
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 250);

    focusOn(QStringLiteral("org.gnome.gedit"));
    EXPECT_TRUE(waitUntil([&] { return profile() == 1; }, 60000));
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 1000);
}

} // namespace
} // namespace corvane::pages::test
