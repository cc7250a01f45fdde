// The main window driven through its notifications and real clicks: start view, tabs,
// the program settings page, the exit paths, the tray, the profile button and pop-ups.
#include "WindowTest.h"

#include <algorithm>

#include "app/desktop/MainTray.h"
#include "app/window/MainWindowIds.h"
#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/dialogs/SaveWaitDlg.h"
#include "protocol/worker/DeviceWorker.h"
#include "ui/views/DeviceList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/Picture.h"
#include "ui/views/TabControl.h"

#include <QAction>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

namespace corvane::app::test {
namespace {

using MainWindow = WindowTest;

ui::TabControl* tabsOf(DeviceMainDlg& window) {
    return window.find<ui::TabControl>(MainControl::Tabs);
}

// The buttons, performance and program settings pages, each writing into log what the
// window tells it.
std::function<void(DeviceMainDlg&)> recordingPages(std::vector<std::string>& log) {
    return [&log](DeviceMainDlg& w) {
        w.addPage(PageSlot::Buttons, std::make_unique<RecordingPage>(log, "buttons"));
        w.addPage(PageSlot::Performance, std::make_unique<RecordingPage>(log, "performance"));
        w.addPage(PageSlot::ProgramSettings, std::make_unique<RecordingPage>(log, "settings"));
    };
}

void clickTab(DeviceMainDlg& window, int itemId) {
    ui::TabControl* tabs = tabsOf(window);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->itemRect(tabs->indexOfItem(itemId)).center());
}

TEST_F(MainWindow, StartsOnTheHomePageWhenNoMouseIsAttached) {
    startWindow();
    waitForStart();

    EXPECT_EQ(textOf(MainControl::DeviceState), englishText(50));
    EXPECT_TRUE(shown(MainControl::HomePage));
    EXPECT_FALSE(shown(MainControl::Tabs));
    EXPECT_FALSE(shown(MainControl::TabBackground));
    EXPECT_FALSE(shown(MainControl::MousePicture));
    EXPECT_EQ(window->control(MainControl::HomePage)->geometry().left(), 12)
        << "the home page's frame spans the window's width (12-pixel margins)";
    EXPECT_FALSE(window->worker()->state().idlePolling());

    auto* list = window->find<ui::DeviceList>(MainControl::DeviceList);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->entryName(0), QStringLiteral("Corvane M1"));
    EXPECT_EQ(list->entryType(1), 201);
    EXPECT_EQ(list->onlineCount(), 0);

    EXPECT_EQ(textOf(MainControl::Title), englishText(1));
    EXPECT_EQ(textOf(MainControl::VersionLine), englishText(17) + QStringLiteral(": v0.1.0"));
    EXPECT_EQ(window->versionLine(), textOf(MainControl::VersionLine));
    EXPECT_EQ(memoryValues.values[QStringLiteral("DeviceType")], QStringLiteral("101"));
    EXPECT_EQ(window->tray()->exitText(), englishText(12));
    EXPECT_EQ(window->tray()->tip(), QStringLiteral("Corvane"));
}

TEST_F(MainWindow, TabsShowTheirPagesAndTheHomeTabHidesTheColumn) {
    startWindow();
    waitForStart();
    window->showConfigurationView();
    EXPECT_EQ(tabsOf(*window)->currentItemId(), TabItem::Buttons);
    EXPECT_TRUE(shown(MainControl::ButtonsPage));
    EXPECT_TRUE(shown(MainControl::MousePicture));
    // In the content frame, 12 pixels right of the 190-pixel tab column.
    EXPECT_EQ(window->control(MainControl::ButtonsPage)->geometry().left(), 202);

    struct Case {
        int item;
        int container;
    };
    for (const Case& c : {Case{TabItem::Performance, MainControl::PerformancePage},
                          Case{TabItem::Macros, MainControl::MacrosPage},
                          Case{TabItem::DeviceSettings, MainControl::DeviceSettingsPage},
                          Case{TabItem::Buttons, MainControl::ButtonsPage}}) {
        clickTab(*window, c.item);
        EXPECT_EQ(window->lastTab(), c.item);
        for (int container :
             {MainControl::HomePage, MainControl::ButtonsPage, MainControl::PerformancePage,
              MainControl::MacrosPage, MainControl::LightingPage, MainControl::DeviceSettingsPage,
              MainControl::ProgramSettingsPage})
            EXPECT_EQ(shown(container), container == c.container)
                << "tab " << c.item << ", container " << container;
        // The mouse picture goes with the buttons page, whose keys its callouts choose.
        EXPECT_EQ(shown(MainControl::MousePicture), c.item == TabItem::Buttons);
        EXPECT_TRUE(shown(MainControl::Battery));
    }

    clickTab(*window, TabItem::Home);
    EXPECT_EQ(window->lastTab(), TabItem::Home);
    for (int id : {MainControl::MousePicture, MainControl::TabBackground, MainControl::Tabs,
                   MainControl::DeviceState, MainControl::Profile, MainControl::RestoreDefaults,
                   MainControl::Battery})
        EXPECT_FALSE(shown(id)) << "control " << id << " on the home tab";
    EXPECT_TRUE(shown(MainControl::HomePage));
    EXPECT_EQ(window->control(MainControl::HomePage)->geometry().left(), 12);
}

// A page is built when it is first shown, with the window's texts and the store's
// values (reload); until then the window tells it nothing.
TEST_F(MainWindow, PagesAreBuiltWhenFirstShown) {
    buildPagesAtStart = false;
    std::vector<std::string> log;
    startWindow(recordingPages(log));
    waitForStart();
    window->workerHost().refreshPages(protocol::Page::Buttons | protocol::Page::Performance);
    window->setLanguage(1033);
    spin(30);
    EXPECT_TRUE(log.empty()) << "the home page shows no page";

    using Log = std::vector<std::string>;
    window->showConfigurationView();
    EXPECT_EQ(log, (Log{"buttons create", "buttons texts", "buttons reload"}));
    log.clear();
    clickTab(*window, TabItem::Performance);
    EXPECT_EQ(log, (Log{"performance create", "performance texts", "performance reload"}));
    log.clear();
    clickTab(*window, TabItem::Buttons);
    clickTab(*window, TabItem::Performance);
    EXPECT_TRUE(log.empty()) << "built once";

    window->workerHost().refreshPages(protocol::Page::Performance);
    ASSERT_TRUE(waitUntil([&] { return !log.empty(); }));
    EXPECT_EQ(log, (Log{"performance reload"}));
    log.clear();
    window->showProgramSettings();
    EXPECT_EQ(log, (Log{"settings create", "settings texts", "settings reload"}));
}

TEST_F(MainWindow, LightingTabFollowsTheDeviceDescription) {
    startWindow();
    waitForStart();
    ui::TabControl* tabs = tabsOf(*window);
    EXPECT_FALSE(tabs->isItemVisible(TabIndex::Lighting)) << "no description read yet";

    catalog::DeviceDetails details;
    details.hasLighting = true;
    protocol::DeviceStateView view;
    view.selectedType = 1;
    view.details = details;
    view.connectionText = 51;
    view.pagesShown = true;
    window->workerHost().showDeviceState(view);
    ASSERT_TRUE(waitUntil([&] { return tabs->isItemVisible(TabIndex::Lighting); }));

    details.hasLighting = false;
    window->workerHost().showDeviceDetails(201, details);
    EXPECT_TRUE(waitUntil([&] { return !tabs->isItemVisible(TabIndex::Lighting); }));
}

TEST_F(MainWindow, SettingsButtonOpensTheProgramSettingsUntilATabIsChosen) {
    startWindow();
    waitForStart();
    window->showConfigurationView();
    click(MainControl::Settings);

    EXPECT_TRUE(window->isProgramSettingsShown());
    EXPECT_TRUE(shown(MainControl::ProgramSettingsPage));
    for (int id : {MainControl::TabBackground, MainControl::Tabs, MainControl::MousePicture,
                   MainControl::Battery, MainControl::Settings, MainControl::Maximise})
        EXPECT_FALSE(shown(id)) << "control " << id;
    EXPECT_TRUE(shown(MainControl::Close));
    EXPECT_EQ(window->control(MainControl::ProgramSettingsPage)->geometry().left(), 12);

    window->showConfigurationView(); // e.g. the page's own way back
    EXPECT_FALSE(window->isProgramSettingsShown());
    for (int id : {MainControl::Close, MainControl::Minimise, MainControl::Settings,
                   MainControl::Maximise, MainControl::Tabs})
        EXPECT_TRUE(shown(id)) << "control " << id;
}

// The close button reads "exit_mode" at each click. A case that ends the program
// stops the worker, so each case gets a window of its own.
struct CloseCase {
    const char* label;
    const char* exitMode; // null: never chosen, an empty value
    bool tray;
    bool hidden;
    bool minimised;
    bool ends;
};

// Names the case in test output by its label, not by its bytes.
void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.label;
}

class CloseButton : public WindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseButton, HidesMinimisesOrEnds) {
    const CloseCase& c = GetParam();
    startWindow();
    waitForStart();
    window->showNormal();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    userValues->writeUserValue(QStringLiteral("exit_mode"),
                               c.exitMode ? QString::fromLatin1(c.exitMode) : QString());
    trayAvailable = c.tray;

    click(MainControl::Close);
    EXPECT_EQ(window->isHidden(), c.hidden);
    EXPECT_EQ(window->isMinimized(), c.minimised);
    EXPECT_EQ(quits, c.ends ? std::vector<int>{0} : std::vector<int>{});
    EXPECT_EQ(window->worker()->isRunning(), !c.ends) << "the worker stops before the end";
    if (c.ends) {
        EXPECT_FALSE(window->tray()->isShown());
    }
}

INSTANTIATE_TEST_SUITE_P(
    ExitModes, CloseButton,
    ::testing::Values(CloseCase{"ToTheTray", "1", true, true, false, false},
                      // No tray to come back from: minimised instead.
                      CloseCase{"MinimisedWithoutATray", "1", false, false, true, false},
                      CloseCase{"EndsOnZero", "0", true, false, false, true},
                      CloseCase{"EndsOnTwo", "2", true, false, false, true},
                      CloseCase{"EndsWhenNeverChosen", nullptr, false, false, false, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindow, DesktopCloseRequestActsLikeTheCloseButton) {
    startWindow();
    waitForStart();
    userValues->writeUserValue(QStringLiteral("exit_mode"), QStringLiteral("1"));
    window->close(); // the window manager's close
    EXPECT_TRUE(window->isHidden());
    EXPECT_TRUE(quits.empty());
    EXPECT_TRUE(window->isCreated());
}

TEST_F(MainWindow, TrayBringsTheWindowBackAndItsMenuItemEnds) {
    startWindow();
    waitForStart();
    window->hide();
    emit window->tray()->icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(window->isHidden());
    window->showMinimized();
    emit window->tray()->icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window->isMinimized());
    emit window->tray()->icon()->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(quits.empty());

    window->tray()->exitAction()->trigger();
    ASSERT_TRUE(waitUntil([&] { return !quits.empty(); }));
    EXPECT_EQ(quits, std::vector<int>{0});
    EXPECT_FALSE(window->worker()->isRunning());
}

TEST_F(MainWindow, QuitMessageEndsOnlyWithItsCode) {
    startWindow();
    waitForStart();
    window->sendMessage(MainMessage::Quit, 0, 611);
    EXPECT_TRUE(quits.empty());
    window->postMessage(MainMessage::Quit, 0, MainMessage::QuitCode);
    ASSERT_TRUE(waitUntil([&] { return !quits.empty(); }));
    EXPECT_EQ(quits, std::vector<int>{0});
}

TEST_F(MainWindow, ProfileButtonWithoutAUsableDeviceSaysSo) {
    bool opened = false;
    startWindow();
    waitForStart();
    window->setProfileWindowOpener([&](const QRect&) { opened = true; });
    window->showConfigurationView(); // the button is reachable, but nothing answered
    click(MainControl::Profile);

    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(57));
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(576));
    EXPECT_EQ(messageBoxes.shown[0].style, pages::MessageOneButton);
    EXPECT_FALSE(opened);
}

TEST_F(MainWindow, ProfileWindowGoesJustAboveTheButton) {
    startWindow();
    waitForStart();
    window->showConfigurationView();
    const QWidget* button = window->control(MainControl::Profile);
    const QPoint top = button->mapToGlobal(QPoint(0, 0));
    const QRect rect = window->profileWindowRect();
    EXPECT_EQ(rect.bottom() + 1, top.y() - 5);
    EXPECT_EQ(rect.top(), top.y() - 210);
    EXPECT_EQ(rect.left(), top.x());
}

// The current device asks for the saving wait window (showSaveTips) in its description.
void giveDeviceSaveTips(DeviceMainDlg& window) {
    catalog::DeviceDetails details;
    details.showSaveTips = true;
    window.workerHost().showDeviceDetails(1, details);
    ASSERT_TRUE(waitUntil([&] { return window.deviceDetails().showSaveTips; }));
}

// closePopups acts on the pop-ups by their titles: an open message box ends with its
// second answer, the saving wait window hides, menus and tips close, lists and palettes
// hide, the rest stays.
TEST_F(MainWindow, ClosePopupsClosesAndHidesByTitle) {
    windowMessageBoxes = &pageMessageBoxes;
    std::vector<std::string> log;
    RecordingPage* page = nullptr;
    startWindow([&](DeviceMainDlg& w) {
        auto made = std::make_unique<RecordingPage>(log, "macros");
        page = made.get();
        w.addPage(PageSlot::Macros, std::move(made));
    });
    waitForStart();
    page->popupCloses = 0;
    giveDeviceSaveTips(*window);
    window->showSaveWait();
    const pages::SaveWaitDlg* saveWait = pageMessageBoxes.saveWaitWindow();
    ASSERT_NE(saveWait, nullptr);
    EXPECT_TRUE(saveWait->isVisible());

    auto makeWindow = [](const char* title) {
        auto d = std::make_unique<ui::Dialog>();
        d->create(nullptr, QString::fromLatin1(title), ui::StylePopup | ui::StyleVisible, 0,
                  QRect(0, 0, 100, 80));
        return d;
    };
    auto tip = makeWindow("CloseWindowTipDlg");
    auto combo = makeWindow("ComboWnd");
    auto palette = makeWindow("PaletteDlg");
    auto other = makeWindow("SomethingElse");

    // A question the user has not answered yet when the pop-ups close.
    const auto question = whenModal(QString::fromLatin1(pages::kMessageBoxTitle),
                                    [&](ui::Dialog&) { window->closePopups(); });
    const int answer = pageMessageBoxes.showMessage(
        QStringLiteral("text"), window.get(), QStringLiteral("title"), pages::MessageTwoButtons);
    EXPECT_TRUE(question.ran());
    EXPECT_EQ(answer, ui::ResultSecond);

    // What closing the pop-ups posted has arrived.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(saveWait->isVisible());
    EXPECT_FALSE(tip->isCreated()) << "closed";
    EXPECT_TRUE(combo->isCreated());
    EXPECT_TRUE(combo->isHidden());
    EXPECT_TRUE(palette->isHidden());
    EXPECT_TRUE(other->isCreated());
    EXPECT_FALSE(other->isHidden());
    EXPECT_TRUE(window->isCreated());
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(page->popupCloses, 1);
}

// A notice the window shows itself (the profile button without a device) ends with the
// second answer too.
TEST_F(MainWindow, ClosePopupsEndsTheWindowsOwnMessageBox) {
    windowMessageBoxes = &pageMessageBoxes;
    startWindow();
    waitForStart();
    window->showConfigurationView();
    const auto notice = whenModal(QString::fromLatin1(pages::kMessageBoxTitle),
                                  [&](ui::Dialog&) { window->closePopups(); });
    click(MainControl::Profile); // returns once the box has ended
    EXPECT_TRUE(notice.ran());
    for (ui::Dialog* open : ui::Dialog::windows())
        EXPECT_NE(open->title(), QString::fromLatin1(pages::kMessageBoxTitle));
}

TEST_F(MainWindow, SaveWaitOnlyWhenTheDeviceAsksForIt) {
    windowMessageBoxes = &pageMessageBoxes;
    startWindow();
    waitForStart();
    window->showSaveWait();
    EXPECT_EQ(pageMessageBoxes.saveWaitWindow(), nullptr);

    giveDeviceSaveTips(*window);
    window->showSaveWait();
    const pages::SaveWaitDlg* saveWait = pageMessageBoxes.saveWaitWindow();
    ASSERT_NE(saveWait, nullptr);
    EXPECT_TRUE(saveWait->isVisible());
    EXPECT_EQ(saveWait->parentWidget(), window.get()) << "owned by the main window";
}

TEST_F(MainWindow, LanguageChangeAppliesEveryTextAgain) {
    std::vector<std::string> log;
    startWindow(recordingPages(log));
    waitForStart();
    log.clear();

    window->setLanguage(2052);
    EXPECT_EQ(memoryValues.values[QStringLiteral("LCID")], QStringLiteral("2052"));
    EXPECT_EQ(i18n::currentLcid(), 2052);
    const QString home = i18n::lookupText(i18n::kTextSection, 71);
    EXPECT_NE(home, englishText(71));
    EXPECT_EQ(tabsOf(*window)->itemText(0), home);
    EXPECT_EQ(textOf(MainControl::Title), i18n::lookupText(i18n::kTextSection, 1));
    EXPECT_EQ(textOf(MainControl::DeviceState), i18n::lookupText(i18n::kTextSection, 50));
    EXPECT_EQ(window->tray()->exitText(), i18n::lookupText(i18n::kTextSection, 12));
    EXPECT_EQ(log,
              (std::vector<std::string>{"performance texts", "buttons texts", "settings texts"}))
        << "performance, buttons and lighting first";

    // "retranslate" from outside: the language in use is read again.
    i18n::setCurrentLcid(1033);
    window->sendMessage(MainMessage::Retranslate);
    EXPECT_EQ(tabsOf(*window)->itemText(0), englishText(71));
    EXPECT_EQ(textOf(MainControl::VersionLine), englishText(17) + QStringLiteral(": v0.1.0"));
}

TEST_F(MainWindow, PagesGetTheirContainersNotificationsAndMessages) {
    std::vector<std::string> log;
    std::array<RecordingPage*, kPageSlotCount> pages{};
    const char* names[] = {"buttons", "performance", "macros", "lighting", "device", "program"};
    startWindow([&](DeviceMainDlg& w) {
        for (int i = 0; i < kPageSlotCount; ++i) {
            auto page = std::make_unique<RecordingPage>(log, names[i]);
            pages[std::size_t(i)] = page.get();
            w.addPage(static_cast<PageSlot>(i), std::move(page));
        }
    });
    EXPECT_FALSE(window->addPage(PageSlot::Buttons, nullptr)) << "only before the window exists";
    waitForStart();

    // Each page is built with its texts and a reload right after its controls.
    std::vector<std::string> created;
    std::copy_if(log.begin(), log.end(), std::back_inserter(created),
                 [](const std::string& entry) { return entry.ends_with(" create"); });
    EXPECT_EQ(created,
              (std::vector<std::string>{"buttons create", "performance create", "macros create",
                                        "lighting create", "device create", "program create"}));
    for (int i = 0; i < kPageSlotCount; ++i)
        EXPECT_EQ(pages[std::size_t(i)]->container,
                  window->pageContainer(static_cast<PageSlot>(i)));
    EXPECT_EQ(window->pageContainer(PageSlot::Buttons)->id(), MainControl::ButtonsPage);
    EXPECT_EQ(window->buttonsInnerPanel()->parentWidget(),
              window->pageContainer(PageSlot::Buttons));

    // Each page hears its own controls by its own numbers, even where two pages use the
    // same number (194); the window's own ids below 1000 reach no page, except the
    // restore button, which belongs to the device settings page.
    for (auto [id, code] : {std::pair{1070, 2},
                            {2120, 30},
                            {3160, 2},
                            {4194, 2},
                            {5194, 2},
                            {6250, 2},
                            {46, 2},
                            {120, 2},
                            {7001, 2}})
        window->OnMessage(id, code, 0, 0);
    using Notes = std::vector<std::pair<int, int>>;
    EXPECT_EQ(pages[0]->messages, (Notes{{70, 2}}));
    EXPECT_EQ(pages[1]->messages, (Notes{{120, 30}}));
    EXPECT_EQ(pages[2]->messages, (Notes{{160, 2}}));
    EXPECT_EQ(pages[3]->messages, (Notes{{194, 2}}));
    EXPECT_EQ(pages[4]->messages, (Notes{{194, 2}, {46, 2}}));
    EXPECT_EQ(pages[5]->messages, (Notes{{250, 2}}));

    pages[2]->takenMessage = 1705;
    EXPECT_EQ(window->sendMessage(1705, 0, 3), 1);
    EXPECT_EQ(pages[0]->windowMessages, std::vector<int>{1705});
    EXPECT_TRUE(pages[3]->windowMessages.empty()) << "taken by the macro page before";

    log.clear();
    window->workerHost().refreshPages(protocol::Page::Lighting | protocol::Page::Performance |
                                      protocol::Page::Buttons | protocol::Page::Macros);
    ASSERT_TRUE(waitUntil([&] { return log.size() == 4; }));
    EXPECT_EQ(log, (std::vector<std::string>{"buttons reload", "macros reload",
                                             "performance reload", "lighting reload"}));
}

} // namespace
} // namespace corvane::app::test
