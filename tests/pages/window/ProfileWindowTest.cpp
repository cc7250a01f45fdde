// The profile list pop-up above the profile button: switching, renaming in place,
// import and export through file dialogs the test answers.
#include "window/PageWindowTest.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/FileDialogs.h"
#include "pages/settings/ProfileDlg.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/ListBox.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <deque>

namespace corvane::pages::test {
namespace {

class AnsweringFileDialogs : public FileDialogs {
public:
    QString openFileName(QWidget*, const QString&, const QString& filter) override {
        filters.push_back(filter);
        return take();
    }
    QString saveFileName(QWidget*, const QString&, const QString& proposed,
                         const QString& filter) override {
        filters.push_back(filter);
        suggested.push_back(proposed);
        return take();
    }
    QString take() {
        if (answers.empty())
            return {};
        QString next = answers.front();
        answers.pop_front();
        return next;
    }
    std::deque<QString> answers;
    std::vector<QString> filters;
    std::vector<QString> suggested;
};

class ProfileWindowTest : public PageWindowTest {
protected:
    void SetUp() override {
        PageWindowTest::SetUp();
        fileDialogs = &dialogs;
    }
    // Opens the pop-up with the profile button and runs `inside` while it is shown.
    void withProfileWindow(const std::function<void(ProfileDlg&, ui::ListBox&)>& inside) {
        bool ran = false;
        const auto shownWindow =
            whenModal(QString::fromLatin1(ProfileDlg::kTitle), [&](ui::Dialog& shown) {
                auto& dialog = static_cast<ProfileDlg&>(shown);
                dialog.activateWindow();
                EXPECT_TRUE(waitUntil([&] { return dialog.isActiveWindow(); }, 2000));
                inside(dialog, *dialog.find<ui::ListBox>(ProfileDlg::List));
                ran = true;
                if (dialog.isRunningModal())
                    dialog.endModal(ui::ResultSecond);
            });
        ui::Control* button = window->control(45);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        EXPECT_TRUE(ran);
        // The commands the pop-up posted.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    static QListWidget& view(ui::ListBox& list) { return *list.findChild<QListWidget*>(); }
    static void clickItem(ui::ListBox& list, int profile) {
        QListWidget& w = view(list);
        const QRect r = w.visualItemRect(w.item(list.findData(profile)));
        QTest::mouseClick(w.viewport(), Qt::LeftButton, {}, r.center());
    }
    // F2 on the item, the text typed over the old one, then Return or not.
    static void rename(ui::ListBox& list, int profile, const QString& text, bool commit) {
        QListWidget& w = view(list);
        w.setCurrentRow(list.findData(profile));
        w.setFocus();
        QTest::keyClick(&w, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "no in-place editor";
        editor->selectAll();
        QTest::keyClicks(editor, text);
        if (commit) {
            QTest::keyClick(editor, Qt::Key_Return);
            // The list commits a Return from the event loop.
            EXPECT_TRUE(waitUntil([&] { return !list.isEditing(); }, 2000));
        }
    }
    static QString storedName(int profile) {
        QString name;
        store::ProfileDatabase::instance().getProfileName(profile, name);
        return name;
    }

    AnsweringFileDialogs dialogs;
};

TEST_F(ProfileWindowTest, AClickOnAProfileSwitchesAndPushesItToTheMouse) {
    startWindow({});
    ASSERT_EQ(profile(), 1);
    ASSERT_TRUE(store::ProfileDatabase::instance().setSetting(2, u"report_rate", 4)); // 250 Hz
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        EXPECT_EQ(list.count(), 4);
        EXPECT_EQ(list.currentData(), 1) << "the current profile is selected";
        EXPECT_EQ(list.itemText(1), englishText(61) + QStringLiteral(" 2"));
        clickItem(list, 2);
        EXPECT_FALSE(dialog.isRunningModal()) << "the pop-up closes";
    });
    EXPECT_EQ(profile(), 2);
    EXPECT_EQ(store::ProfileDatabase::instance().getCurrentProfile(), 2);
    EXPECT_EQ(window->control(45)->text(), englishText(61) + QStringLiteral(" 2"));
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::PushProfile});
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 250);
}

// A click on the profile already selected does not switch: it starts the in-place rename
// (after the double-click time, as the desktop's lists do).
TEST_F(ProfileWindowTest, AClickOnTheSelectedProfileStartsItsRename) {
    startWindow({});
    ASSERT_EQ(profile(), 1);
    QWidget elsewhere; // where the user clicks afterwards
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        ASSERT_EQ(list.currentData(), 1);
        clickItem(list, 1);
        ASSERT_TRUE(waitUntil([&] { return list.isEditing(); }, 60000)) << "no rename started";
        EXPECT_TRUE(dialog.isRunningModal()) << "the pop-up stays open";
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "the editor has the keyboard";
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Desk"));
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(waitUntil([&] { return !list.isEditing(); }, 60000));
        EXPECT_TRUE(dialog.isRunningModal()) << "a rename does not close it";
        elsewhere.show();
        elsewhere.activateWindow();
        EXPECT_TRUE(waitUntil([&] { return !dialog.isRunningModal(); }, 60000));
    });
    EXPECT_EQ(storedName(1), QStringLiteral("Desk"));
    EXPECT_EQ(profile(), 1);
    EXPECT_EQ(window->control(45)->text(), QStringLiteral("Desk"));
}

TEST_F(ProfileWindowTest, RenamingAndClickingElsewhereSwitchesToTheRenamedProfile) {
    startWindow({});
    QWidget elsewhere; // another program's window
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        rename(list, 3, QStringLiteral("  Work  "), false);
        elsewhere.show();
        elsewhere.activateWindow();
        EXPECT_TRUE(waitUntil([&] { return !dialog.isRunningModal(); }, 3000));
    });
    EXPECT_EQ(storedName(3), QStringLiteral("Work"));
    EXPECT_EQ(profile(), 3);
    EXPECT_EQ(window->control(45)->text(), QStringLiteral("Work"));
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::PushProfile});
}

TEST_F(ProfileWindowTest, EmptyRenameIsIgnoredAndClosingWithoutARenameChangesNothing) {
    startWindow({});
    const QString before = storedName(2);
    QWidget elsewhere;
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        list.setItemText(list.findData(2), QStringLiteral("stale"));
        rename(list, 2, QStringLiteral("   "), true);
        EXPECT_EQ(list.itemText(list.findData(2)), englishText(61) + QStringLiteral(" 2"))
            << "the list shows the stored name again";
        elsewhere.show();
        elsewhere.activateWindow();
        EXPECT_TRUE(waitUntil([&] { return !dialog.isRunningModal(); }, 3000));
    });
    EXPECT_EQ(storedName(2), before);
    EXPECT_EQ(profile(), 1);
    EXPECT_TRUE(tasks.empty());
}

TEST_F(ProfileWindowTest, EscapeEndsAnEditFirstThenClosesThePopUpSwitchingNothing) {
    startWindow({});
    const QString before = storedName(2);
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        rename(list, 2, QStringLiteral("Gaming"), false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(waitUntil([&] { return !list.isEditing(); }, 2000));
        EXPECT_TRUE(dialog.isRunningModal()) << "the first Escape only ends the edit";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isRunningModal()) << "the second Escape closes the pop-up";
    });
    EXPECT_EQ(storedName(2), before);
    EXPECT_EQ(profile(), 1);
    EXPECT_TRUE(tasks.empty());
}

TEST_F(ProfileWindowTest, EscapeAfterARenameSwitchesToTheRenamedProfileAsAClickElsewhereDoes) {
    startWindow({});
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        rename(list, 3, QStringLiteral("Work"), true);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isRunningModal());
    });
    EXPECT_EQ(storedName(3), QStringLiteral("Work"));
    EXPECT_EQ(profile(), 3);
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::PushProfile});
}

TEST_F(ProfileWindowTest, ExportThenImportIntoAnotherProfile) {
    startWindow({});
    QTemporaryDir files;
    const QString path = files.path() + QStringLiteral("/Desk setup.xml");
    ASSERT_TRUE(writeSetting(u"report_rate", 2));

    dialogs.answers = {path};
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox&) {
        QTest::mouseClick(dialog.control(ProfileDlg::ExportButton), Qt::LeftButton);
    });
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(dialogs.suggested, std::vector<QString>{englishText(61) + QStringLiteral(" 1.xml")});
    EXPECT_EQ(dialogs.filters.back(), QStringLiteral("Profile (*.xml)"));
    EXPECT_TRUE(tasks.empty());

    // Into profile 4: whichever item is selected, import goes to the current profile.
    withProfileWindow([&](ProfileDlg&, ui::ListBox& list) { clickItem(list, 4); });
    ASSERT_EQ(profile(), 4);
    waitForWorker();
    tasks.clear();
    dialogs.answers = {path};
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        view(list).setCurrentRow(list.findData(2));
        QTest::mouseClick(dialog.control(ProfileDlg::ImportButton), Qt::LeftButton);
    });
    EXPECT_EQ(dialogs.filters.back(), QStringLiteral("MouseKey (*.xml)"));
    EXPECT_EQ(storedName(4), QStringLiteral("Desk setup"));
    EXPECT_EQ(setting(u"report_rate"), QStringLiteral("2"));
    EXPECT_NE(storedName(2), QStringLiteral("Desk setup"));
    EXPECT_EQ(window->control(45)->text(), QStringLiteral("Desk setup"));
    EXPECT_EQ(tasks, std::vector<int>{protocol::DeviceTask::PushProfile});
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 500);
}

TEST_F(ProfileWindowTest, AProfileNeverShownExportsItsDefaultLightingNotAnEmptyOne) {
    startWindow({});
    ASSERT_EQ(store::ProfileDatabase::instance().countLights(3), 0) << "profile 3 never shown";
    QTemporaryDir files;
    const QString path = files.path() + QStringLiteral("/Three.xml");
    dialogs.answers = {path};
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox& list) {
        view(list).setCurrentRow(list.findData(3));
        QTest::mouseClick(dialog.control(ProfileDlg::ExportButton), Qt::LeftButton);
    });
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    EXPECT_FALSE(xml.contains("lightmode=\"0\"")) << xml.constData();
    EXPECT_TRUE(xml.contains("lightmode=\"1\"")) << xml.constData();
    EXPECT_EQ(profile(), 1) << "exporting switches nothing";
}

TEST_F(ProfileWindowTest, AFileForAnotherModelAsksFirst) {
    startWindow({});
    QTemporaryDir files;
    const QString path = files.path() + QStringLiteral("/Other.xml");
    dialogs.answers = {path};
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox&) {
        QTest::mouseClick(dialog.control(ProfileDlg::ExportButton), Qt::LeftButton);
    });
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray xml = file.readAll();
    file.close();
    const QByteArray mine = "device_type=\"" + QByteArray::number(window->currentDeviceType());
    ASSERT_TRUE(xml.contains(mine));
    xml.replace(mine, "device_type=\"201");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(xml);
    file.close();

    const QString before = storedName(1);
    messageBoxes.answer = 2;
    dialogs.answers = {path};
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox&) {
        QTest::mouseClick(dialog.control(ProfileDlg::ImportButton), Qt::LeftButton);
    });
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].style, MessageTwoButtons);
    EXPECT_EQ(storedName(1), before) << "a no imports nothing";
    EXPECT_TRUE(tasks.empty());

    messageBoxes.answer = 1;
    dialogs.answers = {path};
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox&) {
        QTest::mouseClick(dialog.control(ProfileDlg::ImportButton), Qt::LeftButton);
    });
    EXPECT_EQ(storedName(1), QStringLiteral("Other"));
}

TEST_F(ProfileWindowTest, AnOpenPopUpTakesTheNewLanguage) {
    startWindow({});
    withProfileWindow([&](ProfileDlg& dialog, ui::ListBox&) {
        EXPECT_EQ(dialog.control(ProfileDlg::ImportButton)->text(), englishText(26));
        window->setLanguage(2052);
        EXPECT_EQ(dialog.control(ProfileDlg::ImportButton)->text(), QStringLiteral("导入"));
    });
    i18n::setCurrentLcid(1033);
}

} // namespace
} // namespace corvane::pages::test
