// The performance page in the main window against the virtual mouse: every operation is
// checked three ways, the stored setting, the task queued and what the mouse received.
#include "window/PageWindowTest.h"
#include "window/TabWalk.h"

#include "pages/dialogs/MessageBox.h"
#include "pages/dialogs/MousePaletteDlg.h"
#include "pages/performance/DpiMsgDlg.h"
#include "pages/performance/PerformancePage.h"
#include "protocol/worker/DeviceTask.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourSwatch.h"
#include "virtualmouse/MouseDevice.h"
#include "virtualmouse/Reports.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QWheelEvent>

namespace corvane::pages::test {
namespace {

namespace C = PerformanceControl;
namespace Task = protocol::DeviceTask;
constexpr PageSlot kPage = PageSlot::Performance;

QString valueKey(int stage) {
    return QStringLiteral("dpi_group%1_value").arg(stage);
}

class PerformancePageTest : public PageWindowTest {
protected:
    void start() {
        page = startWithPage<PerformancePage>(kPage);
        ASSERT_NE(page, nullptr);
        showPage(kPage);
        // The pop-up's time stands still unless a test turns it: a slow machine never
        // hides it before a check.
        popup()->setClock([this] { return now; });
    }
    // Stores settings as another program would, and lets the page load them.
    void storeAndLoad(std::initializer_list<std::pair<const char16_t*, int>> settings) {
        for (const auto& [key, value] : settings)
            ASSERT_TRUE(writeSetting(QStringView(key), value))
                << QStringView(key).toString().toStdString();
        page->reload();
    }
    // Chooses an item of a list control as the user does: opens it and clicks the item.
    void choose(int local, int index) {
        auto* box = control(kPage, local)->findChild<QComboBox*>();
        ASSERT_NE(box, nullptr);
        box->showPopup();
        QAbstractItemView* view = box->view();
        ASSERT_TRUE(waitUntil([&] { return view->isVisible(); }));
        const QRect item = view->visualRect(view->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
        ASSERT_TRUE(waitUntil([&] { return !view->isVisible(); }));
    }
    ui::NumberField* stageField(int stage) const {
        return find<ui::NumberField>(kPage, C::FirstStageValue + stage);
    }
    DpiMsgDlg* popup() const { return window->dpiPopup(); }
    // Forgets the tasks and saving waits so far.
    void clearNotes() {
        waitForWorker();
        tasks.clear();
        messageBoxes.saveWaits = 0;
    }

    // Installs a copy of data/ whose device files have `from` replaced by `to` (in at
    // least one of them).
    void installEditedDeviceFiles(const QByteArray& from, const QByteArray& to) {
        int edited = 0;
        const QString source = QStringLiteral(CORVANE_SOURCE_DIR "/data");
        ASSERT_TRUE(QDir().mkpath(copy.path() + QStringLiteral("/device")));
        ASSERT_TRUE(QFile::copy(source + QStringLiteral("/config.xml"),
                                copy.path() + QStringLiteral("/config.xml")));
        for (const QString& name :
             QDir(source + QStringLiteral("/device")).entryList(QDir::Files)) {
            QFile in(source + QStringLiteral("/device/") + name);
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            QByteArray xml = in.readAll();
            edited += xml.contains(from) ? 1 : 0;
            xml.replace(from, to);
            QFile out(copy.path() + QStringLiteral("/device/") + name);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(xml);
        }
        ASSERT_GT(edited, 0) << from.toStdString();
        installation = copy.path();
    }

    PerformancePage* page = nullptr;
    qint64 now = 0; // the pop-up's clock, in milliseconds
    QTemporaryDir copy;
};

TEST_F(PerformancePageTest, LoadingShowsTheProfileAsStored) {
    start();
    storeAndLoad({{u"dpi_count", 4},
                  {u"dpi_index", 2},
                  {u"dpi_group2_value", 3200},
                  {u"dpi_group1_rgb", 0x00FF00},
                  {u"report_rate", 2},
                  {u"sleep_light", 60},
                  {u"move_wakeup", 0},
                  {u"move_closelight", 1},
                  {u"sensor_flag", 8},
                  {u"liftoff_height", 2},
                  {u"button_respondtime", 12}});

    EXPECT_EQ(page->shownStageCount(), 4);
    for (int i = 0; i < PerformancePage::kStages; ++i) {
        EXPECT_EQ(control(kPage, C::FirstStage + i)->isHidden(), i >= 4) << i;
        if (i < 4) {
            EXPECT_EQ(stageField(i)->value(), settingInt(valueKey(i))) << i;
        }
    }
    EXPECT_TRUE(find<ui::RadioButton>(kPage, C::FirstStage + 2)->isChecked());
    EXPECT_EQ(find<ui::ColourSwatch>(kPage, C::FirstStageColour + 1)->colour(), QColor(0, 255, 0));
    EXPECT_EQ(find<ui::Slider>(kPage, C::Slider)->position(), 3200 / 50) << "sensor 17";
    EXPECT_EQ(find<ui::ComboBox>(kPage, C::StageCount)->currentData(), 4);
    EXPECT_EQ(find<ui::ComboBox>(kPage, C::Rate)->currentData(), 2);
    EXPECT_EQ(find<ui::ComboBox>(kPage, C::Sleep)->currentData(), 60);
    EXPECT_EQ(find<ui::ComboBox>(kPage, C::Sleep)->text(), "10 min");
    EXPECT_FALSE(find<ui::CheckBox>(kPage, C::WakeOnMove)->isChecked());
    EXPECT_TRUE(find<ui::CheckBox>(kPage, C::LightOffOnMove)->isChecked());
    const bool sensorBoxes[] = {false, true, false};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(find<ui::CheckBox>(kPage, C::FirstSensorOption + i)->isChecked(), sensorBoxes[i]);
    EXPECT_TRUE(find<ui::RadioButton>(kPage, C::LiftOffHigh)->isChecked());
    EXPECT_EQ(find<ui::NumberField>(kPage, C::Response)->text(), "12");
    EXPECT_TRUE(tasks.empty()) << "loading sends nothing";

    // A count outside 1..6 is never laid out, an active stage at or above the count shows
    // as stage 0; neither is stored by the page.
    storeAndLoad({{u"dpi_count", 9}, {u"dpi_index", 7}});
    EXPECT_EQ(page->shownStageCount(), 6);
    EXPECT_EQ(page->activeStage(), 0);
    storeAndLoad({{u"dpi_count", 3}, {u"dpi_index", 3}});
    EXPECT_EQ(page->shownStageCount(), 3);
    EXPECT_EQ(page->activeStage(), 0);
    EXPECT_EQ(settingInt(u"dpi_index"), 3);
    EXPECT_TRUE(tasks.empty());
}

// What the user types is snapped to what the sensor's encoding carries; the field shows
// it, the store keeps it and the mouse receives it.
struct TypedDpi {
    std::uint8_t sensor;
    std::vector<std::pair<const char*, int>> typedAndKept;
};

class TypedStageValues : public PerformancePageTest,
                         public ::testing::WithParamInterface<TypedDpi> {};

TEST_P(TypedStageValues, AreSnappedStoredAndSent) {
    devices.sensorCode = GetParam().sensor;
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_index", 1}});
    for (const auto& [typed, kept] : GetParam().typedAndKept) {
        SCOPED_TRACE(typed);
        clearNotes();
        // Enter ends the edit as leaving the field does.
        typeInto(kPage, C::FirstStageValue + 1, QString::fromLatin1(typed), false);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(stageField(1)->text(), QString::number(kept));
        EXPECT_EQ(settingInt(u"dpi_group1_value"), kept);
        EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
        EXPECT_EQ(messageBoxes.saveWaits, 1);
        waitForWorker();
        EXPECT_EQ(held().stageDpi[1], kept);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sensors, TypedStageValues,
    ::testing::Values(
        // Sensor 17: 50 to 10000, 100 to 12000, then 1000; nothing between 12000 and 13000.
        TypedDpi{17,
                 {{"10049", 10000},
                  {"10", 50},
                  {"30000", 24000},
                  {"12999", 12000},
                  {"13500", 13000},
                  {"abc", 50}}},
        TypedDpi{4, {{"4700", 4500}, {"9000", 8000}, {"50", 100}}},
        TypedDpi{37, {{"7777", 7500}, {"99", 100}}}));

TEST_F(PerformancePageTest, ChoosingAStageStoresAndSendsItOnlyWhenItChanges) {
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_index", 0}, {u"dpi_group2_value", 2400}});
    clearNotes();

    click(kPage, C::FirstStage + 2);
    EXPECT_EQ(settingInt(u"dpi_index"), 2);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    EXPECT_EQ(find<ui::Slider>(kPage, C::Slider)->position(), 2400 / 50);
    EXPECT_TRUE(popup()->isVisible());
    EXPECT_EQ(popup()->valueText(), "2400");
    waitForWorker();
    EXPECT_EQ(held().activeStage, 2);
    EXPECT_EQ(held().stageDpi[2], 2400);

    clearNotes();
    click(kPage, C::FirstStage + 2);
    EXPECT_TRUE(tasks.empty()) << "the active stage again";

    // The focus entering a stage's field chooses that stage.
    focus(kPage, C::FirstStageValue + 4);
    EXPECT_EQ(settingInt(u"dpi_index"), 4);
    EXPECT_TRUE(find<ui::RadioButton>(kPage, C::FirstStage + 4)->isChecked());
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    waitForWorker();
    EXPECT_EQ(held().activeStage, 4);
}

TEST_F(PerformancePageTest, TwoStageChangesWithinTwoSecondsKeepThePopupTwoSecondsAfterTheSecond) {
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_index", 0}});
    click(kPage, C::FirstStage + 1);
    ASSERT_TRUE(popup()->isVisible());
    EXPECT_TRUE(popup()->isTimerRunning(pages::DpiMsgDlg::kHideTimerId));
    now = 1200;
    EXPECT_FALSE(popup()->hideWhenDue());
    click(kPage, C::FirstStage + 3);
    EXPECT_EQ(popup()->valueText(), QString::number(settingInt(valueKey(3))));
    now = 2600;
    EXPECT_FALSE(popup()->hideWhenDue()) << "2 s after the first change it is still shown";
    EXPECT_TRUE(popup()->isVisible());
    now = 3199;
    EXPECT_FALSE(popup()->hideWhenDue());
    now = 3200;
    EXPECT_TRUE(popup()->hideWhenDue()) << "hidden 2 s after the second change";
    EXPECT_FALSE(popup()->isVisible());
}

TEST_F(PerformancePageTest, TheSliderStoresWhileDraggedAndSendsWhenTheDragEnds) {
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_index", 1}, {u"dpi_group1_value", 800}});
    clearNotes();
    auto* slider = control(kPage, C::Slider)->findChild<QSlider*>();
    ASSERT_NE(slider, nullptr);

    // Press on the thumb, drag to the right, release.
    const QPoint thumb(int(slider->width() * 16.0 / slider->maximum()), slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
    QMouseEvent move(QEvent::MouseMove, QPointF(thumb + QPoint(60, 0)),
                     slider->mapToGlobal(thumb + QPoint(60, 0)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(slider, &move);
    const int dragged = settingInt(u"dpi_group1_value");
    EXPECT_GT(dragged, 800) << "stored while moving";
    EXPECT_EQ(dragged % 50, 0);
    EXPECT_EQ(stageField(1)->value(), dragged);
    EXPECT_TRUE(tasks.empty()) << "nothing sent before the drag ends";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb + QPoint(60, 0));
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    waitForWorker();
    EXPECT_EQ(held().stageDpi[1], dragged);

    // A key step is a whole drag; position 0 stores the sensor's minimum, never 0 DPI.
    clearNotes();
    pressKey(kPage, C::Slider, Qt::Key_Home);
    EXPECT_EQ(settingInt(u"dpi_group1_value"), 50);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    waitForWorker();
    EXPECT_EQ(held().stageDpi[1], 50);
    clearNotes();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(settingInt(u"dpi_group1_value"), 50) << "position 1 is 50 DPI for sensor 17";
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(settingInt(u"dpi_group1_value"), 100);
    EXPECT_EQ(tasks, (std::vector<int>{Task::SendDpi, Task::SendDpi}));

    // A wheel turn is a whole drag too.
    clearNotes();
    const QPointF middle = QRectF(slider->rect()).center();
    QWheelEvent wheel(middle, slider->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &wheel);
    const int wheeled = settingInt(u"dpi_group1_value");
    EXPECT_NE(wheeled, 100);
    EXPECT_EQ(stageField(1)->value(), wheeled);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    waitForWorker();
    EXPECT_EQ(held().stageDpi[1], wheeled);
}

TEST_F(PerformancePageTest, FewerStagesMoveTheActiveStageDown) {
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_index", 4}});
    clearNotes();
    choose(C::StageCount, 2); // "3"
    EXPECT_EQ(settingInt(u"dpi_count"), 3);
    EXPECT_EQ(settingInt(u"dpi_index"), 2);
    EXPECT_EQ(page->shownStageCount(), 3);
    EXPECT_TRUE(find<ui::RadioButton>(kPage, C::FirstStage + 2)->isChecked());
    EXPECT_TRUE(control(kPage, C::FirstStage + 3)->isHidden());
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    waitForWorker();
    EXPECT_EQ(held().stageCount, 3);
    EXPECT_EQ(held().activeStage, 2);

    // More stages keep the active one; button 254 sends the stages again.
    clearNotes();
    choose(C::StageCount, 4);
    EXPECT_EQ(settingInt(u"dpi_count"), 5);
    EXPECT_EQ(settingInt(u"dpi_index"), 2);
    click(kPage, C::Apply);
    EXPECT_EQ(tasks, (std::vector<int>{Task::SendDpi, Task::SendDpi}));
    waitForWorker();
    EXPECT_EQ(held().stageCount, 5);
}

TEST_F(PerformancePageTest, AStageColourComesFromThePickerAndClosingItChangesNothing) {
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_group3_rgb", 0x0000FF}});
    clearNotes();

    const auto closed = whenModal(QString::fromLatin1(kPaletteTitle), [](ui::Dialog& picker) {
        QWidget* close = picker.control(MousePaletteDlg::kCloseId);
        QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    });
    click(kPage, C::FirstStageColour + 3);
    EXPECT_TRUE(closed.ran());
    EXPECT_EQ(settingInt(u"dpi_group3_rgb"), 0x0000FF);
    EXPECT_TRUE(tasks.empty());

    const auto green = whenModal(QString::fromLatin1(kPaletteTitle), [](ui::Dialog& picker) {
        QWidget* green = picker.control(MousePaletteDlg::kFirstPresetId + 2); // 00FF00
        QTest::mouseClick(green, Qt::LeftButton, {}, green->rect().center());
        QWidget* ok = picker.control(MousePaletteDlg::kOkId);
        QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
    });
    click(kPage, C::FirstStageColour + 3);
    EXPECT_TRUE(green.ran());
    EXPECT_EQ(settingInt(u"dpi_group3_rgb"), 0x00FF00);
    EXPECT_EQ(find<ui::ColourSwatch>(kPage, C::FirstStageColour + 3)->colour(), QColor(0, 255, 0));
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpiColors});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    waitForWorker();
    EXPECT_EQ(held().stageColour[3], "#00FF00");

    // Black is a colour, not "closed": typed into the fields and taken with OK.
    clearNotes();
    const auto black = whenModal(QString::fromLatin1(kPaletteTitle), [](ui::Dialog& picker) {
        auto* green = picker.control(MousePaletteDlg::kFirstFieldId + 1)->findChild<QLineEdit*>();
        ASSERT_NE(green, nullptr);
        QTest::keyClick(green, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(green, QStringLiteral("0"));
        QWidget* ok = picker.control(MousePaletteDlg::kOkId);
        QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
    });
    click(kPage, C::FirstStageColour + 3);
    EXPECT_TRUE(black.ran());
    EXPECT_EQ(settingInt(u"dpi_group3_rgb"), 0);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpiColors});
    waitForWorker();
    EXPECT_EQ(held().stageColour[3], "#000000");
}

TEST_F(PerformancePageTest, DpiResetAsksAndTheWorkerShowsTheFactoryStages) {
    start();
    // The mouse first runs two stages, the first at 5000 DPI: nothing the reset brings
    // back is what it held before.
    storeAndLoad({{u"dpi_count", 2},
                  {u"dpi_index", 1},
                  {u"dpi_group0_value", 5000},
                  {u"dpi_group5_value", 200}});
    click(kPage, C::Apply);
    waitForWorker();
    ASSERT_EQ(held().stageCount, 2);
    ASSERT_EQ(held().stageDpi[0], 5000);
    clearNotes();

    messageBoxes.answer = 2;
    click(kPage, C::DpiReset);
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, englishText(258));
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(253));
    EXPECT_EQ(messageBoxes.shown[0].style, MessageTwoButtons);
    EXPECT_TRUE(tasks.empty());

    messageBoxes.answer = 1;
    click(kPage, C::DpiReset);
    EXPECT_EQ(tasks, std::vector<int>{Task::RestoreDpiDefaults});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    // data/device/corvane_m1.xml: six stages from 400 to 12000, the second active.
    ASSERT_TRUE(waitUntil([&] { return page->shownStageCount() == 6; }));
    EXPECT_EQ(settingInt(u"dpi_group0_value"), 400);
    EXPECT_EQ(stageField(0)->value(), 400);
    EXPECT_EQ(stageField(5)->value(), 12000);
    waitForWorker();
    const vm::HeldSettings mouseHolds = held();
    EXPECT_EQ(mouseHolds.stageCount, 6);
    EXPECT_EQ(mouseHolds.activeStage, 1);
    EXPECT_EQ(settingInt(u"dpi_index"), 1);
    EXPECT_EQ(mouseHolds.stageDpi, (std::array<int, 6>{400, 800, 1600, 3200, 6400, 12000}));
    EXPECT_EQ(mouseHolds.stageColour,
              (std::array<std::string, 6>{"#FF0000", "#00FF00", "#0000FF", "#FFFF00", "#FF00FF",
                                          "#00FFFF"}));
}

// The rates offered follow the mouse's capability, and a reset does not take any away.
struct RateCase {
    std::uint8_t rateClass;
    bool wireless;
    int offered;
};

class ReportRates : public PerformancePageTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(ReportRates, FollowTheCapabilityAndGoToBothKeys) {
    devices.reportRateClass = GetParam().rateClass;
    devices.wiredM1 = !GetParam().wireless;
    devices.receiverM1 = GetParam().wireless;
    start();
    auto* rates = find<ui::ComboBox>(kPage, C::Rate);
    ASSERT_EQ(rates->count(), GetParam().offered);
    EXPECT_EQ(rates->itemText(2), "500Hz");
    clearNotes();

    choose(C::Rate, 2);
    EXPECT_EQ(setting(u"report_rate"), "2");
    EXPECT_EQ(setting(u"report_rate_wireless"), "2");
    EXPECT_EQ(tasks, std::vector<int>{Task::SendReportRate});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 500);

    if (GetParam().offered == 7) {
        clearNotes();
        choose(C::Rate, 6);
        EXPECT_EQ(setting(u"report_rate"), "64") << "8000 Hz";
        waitForWorker();
        EXPECT_EQ(held().reportRateHz, 8000);
    }

    // The reset takes the device file's rate (1000 Hz) without asking.
    clearNotes();
    click(kPage, C::RateReset);
    EXPECT_TRUE(messageBoxes.shown.empty());
    EXPECT_EQ(setting(u"report_rate"), "1");
    EXPECT_EQ(setting(u"report_rate_wireless"), "1");
    EXPECT_EQ(rates->currentData(), 1);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendReportRate});
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 1000);
    page->reload();
    EXPECT_EQ(rates->count(), GetParam().offered) << "the reset keeps the mouse's rates";
}

INSTANTIATE_TEST_SUITE_P(Capabilities, ReportRates,
                         ::testing::Values(RateCase{0x20, false, 4}, RateCase{0x40, true, 7}));

TEST_F(PerformancePageTest, LiftOffAndSensorOptions) {
    start();
    // A new mouse runs at 2 mm with angle snapping on: every step below changes that.
    storeAndLoad({{u"liftoff_height", 2}, {u"sensor_flag", 4 | 16 | 64}});
    clearNotes();

    click(kPage, C::LiftOffLow);
    EXPECT_EQ(setting(u"liftoff_height"), "1");
    EXPECT_EQ(tasks, std::vector<int>{Task::SendSensor});
    waitForWorker();
    EXPECT_EQ(held().liftOffMm, 1);
    EXPECT_TRUE(held().rippleControl) << "the stored first option goes along";
    EXPECT_FALSE(held().angleSnapping);

    // Only the second option on: exactly 8, the other stored bits dropped.
    clearNotes();
    click(kPage, C::FirstSensorOption);     // 4 off
    click(kPage, C::FirstSensorOption + 2); // 16 off
    click(kPage, C::FirstSensorOption + 1); // 8 on
    EXPECT_EQ(setting(u"sensor_flag"), "8");
    EXPECT_EQ(tasks, (std::vector<int>{Task::SendSensor, Task::SendSensor, Task::SendSensor}));
    EXPECT_EQ(messageBoxes.saveWaits, 3);
    waitForWorker();
    EXPECT_FALSE(held().rippleControl);
    EXPECT_TRUE(held().angleSnapping);
    EXPECT_EQ(held().liftOffMm, 1);

    clearNotes();
    click(kPage, C::LiftOffHigh);
    EXPECT_EQ(setting(u"liftoff_height"), "2");
    waitForWorker();
    EXPECT_EQ(held().liftOffMm, 2);
}

TEST_F(PerformancePageTest, ResponseTimeSendsOnlyWholeValuesInRange) {
    start();
    storeAndLoad({{u"button_respondtime", 8}});
    clearNotes();

    // "30": neither 3 nor 30 is sent while typing; leaving the field makes it 20.
    typeInto(kPage, C::Response, QStringLiteral("30"), false);
    EXPECT_EQ(setting(u"button_respondtime"), "8");
    EXPECT_TRUE(tasks.empty());
    dropFocus();
    EXPECT_EQ(find<ui::NumberField>(kPage, C::Response)->text(), "20");
    EXPECT_EQ(setting(u"button_respondtime"), "20");
    EXPECT_EQ(tasks, std::vector<int>{Task::SendPower});
    waitForWorker();
    EXPECT_EQ(held().responseMs, 20);

    // "12" is sent as it is typed (not "1"); leaving the field sends nothing more.
    clearNotes();
    typeInto(kPage, C::Response, QStringLiteral("12"), false);
    EXPECT_EQ(setting(u"button_respondtime"), "12");
    EXPECT_EQ(tasks, std::vector<int>{Task::SendPower});
    dropFocus();
    EXPECT_EQ(tasks, std::vector<int>{Task::SendPower});
    waitForWorker();
    EXPECT_EQ(held().responseMs, 12);

    // Emptied: 4 when it is left.
    clearNotes();
    typeInto(kPage, C::Response, QString());
    EXPECT_EQ(find<ui::NumberField>(kPage, C::Response)->text(), "4");
    EXPECT_EQ(setting(u"button_respondtime"), "4");
    EXPECT_EQ(tasks, std::vector<int>{Task::SendPower});
}

TEST_F(PerformancePageTest, SleepAndTheMovementOptions) {
    start();
    storeAndLoad({{u"sleep_light", 30}, {u"move_wakeup", 1}, {u"move_closelight", 0}});
    clearNotes();

    choose(C::Sleep, 7); // 30 minutes
    EXPECT_EQ(setting(u"sleep_light"), "180");
    waitForWorker();
    EXPECT_EQ(held().sleepSeconds, 30 * 60);
    click(kPage, C::WakeOnMove);
    EXPECT_EQ(setting(u"move_wakeup"), "0");
    pressKey(kPage, C::LightOffOnMove, Qt::Key_Space);
    EXPECT_EQ(setting(u"move_closelight"), "1");
    EXPECT_EQ(tasks, (std::vector<int>{Task::SendPower, Task::SendPower, Task::SendPower}));
    EXPECT_EQ(messageBoxes.saveWaits, 3);
    waitForWorker();
    EXPECT_TRUE(held().lightOffWhileMoving);
    EXPECT_FALSE(held().wakeOnMotion);
    EXPECT_EQ(held().sleepSeconds, 30 * 60);
}

TEST_F(PerformancePageTest, TheMousesDpiButtonMovesTheActiveStage) {
    start();
    storeAndLoad({{u"dpi_count", 4}, {u"dpi_index", 0}});
    click(kPage, C::Apply); // the mouse now runs four stages, the first active
    ASSERT_TRUE(waitForHeld(
        [](const vm::HeldSettings& h) { return h.stageCount == 4 && h.activeStage == 0; }));
    // A press while the apply still runs is settled by reading the stages back, without
    // the pop-up: press once the worker has finished it.
    waitForWorker();
    popup()->hide();

    ASSERT_TRUE(mouse().pressDpiButton());
    ASSERT_TRUE(waitUntil([&] { return page->activeStage() == 1; }));
    EXPECT_EQ(page->lastAppliedStage(), 1);
    EXPECT_EQ(settingInt(u"dpi_index"), 1);
    EXPECT_EQ(find<ui::Slider>(kPage, C::Slider)->position(), settingInt(valueKey(1)) / 50);
    EXPECT_TRUE(popup()->isVisible());
    EXPECT_EQ(popup()->valueText(), QString::number(settingInt(valueKey(1))));
}

TEST_F(PerformancePageTest, TheMousesOwnStageCountIsLaidOut) {
    start();
    storeAndLoad({{u"dpi_count", 6}, {u"dpi_index", 0}});
    click(kPage, C::Apply);
    ASSERT_TRUE(waitForHeld(
        [](const vm::HeldSettings& h) { return h.stageCount == 6 && h.activeStage == 0; }));
    clearNotes();
    // Another program left the mouse with two stages, the first active.
    std::optional<Kept> stages = mouse().kept(vm::command::SetDpi);
    ASSERT_TRUE(stages);
    stages->parameters[0] = 0x02;
    ASSERT_TRUE(mouse().setKept(vm::command::SetDpi, *stages));

    ASSERT_TRUE(mouse().pressDpiButton());
    ASSERT_TRUE(
        waitUntil([&] { return page->shownStageCount() == 2 && page->activeStage() == 1; }));
    EXPECT_EQ(settingInt(u"dpi_count"), 2);
    EXPECT_EQ(settingInt(u"dpi_index"), 1);
    EXPECT_EQ(find<ui::ComboBox>(kPage, C::StageCount)->currentData(), 2);
    EXPECT_TRUE(control(kPage, C::FirstStage + 2)->isHidden());
    EXPECT_EQ(page->lastAppliedStage(), 1);
    EXPECT_TRUE(tasks.empty()) << "what the mouse did itself is not sent back";
}

TEST_F(PerformancePageTest, WithoutDpiTipsNoPopupIsShownButTheStageIsSent) {
    installEditedDeviceFiles("show_dpitips=\"1\"", "show_dpitips=\"0\"");
    start();
    storeAndLoad({{u"dpi_count", 4}, {u"dpi_index", 0}});
    clearNotes();
    click(kPage, C::FirstStage + 2);
    EXPECT_EQ(settingInt(u"dpi_index"), 2);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendDpi});
    waitForWorker();
    EXPECT_EQ(held().activeStage, 2);
    EXPECT_FALSE(popup()->isVisible());

    ASSERT_EQ(held().stageCount, 4);
    clearNotes(); // the worker is done with the stages before the mouse changes its own
    ASSERT_TRUE(mouse().pressDpiButton());
    ASSERT_TRUE(waitUntil([&] { return page->activeStage() == 3; }));
    EXPECT_FALSE(popup()->isVisible()) << "nor for the mouse's own stage change";
}

TEST_F(PerformancePageTest, ARateResetWithoutTheDeviceFilesRateStoresNothingButSends) {
    installEditedDeviceFiles("<report_rate default_value=\"1\"/>", "");
    start();
    storeAndLoad({{u"report_rate", 2}, {u"report_rate_wireless", 2}});
    clearNotes();
    click(kPage, C::RateReset);
    EXPECT_EQ(setting(u"report_rate"), "2");
    EXPECT_EQ(setting(u"report_rate_wireless"), "2");
    EXPECT_EQ(find<ui::ComboBox>(kPage, C::Rate)->currentData(), 2);
    EXPECT_EQ(tasks, std::vector<int>{Task::SendReportRate});
    EXPECT_EQ(messageBoxes.saveWaits, 1);
    waitForWorker();
    EXPECT_EQ(held().reportRateHz, 500);
}

TEST_F(PerformancePageTest, GroupsTheDeviceDoesNotAskForAreHiddenAndSleepMovesUp) {
    start(); // the M1 asks for all three groups
    const int sleepWithAll = control(kPage, C::SleepCaption)->y();
    for (int id : {C::LiftOffHigh, C::FirstSensorOption, C::Response})
        EXPECT_FALSE(control(kPage, id)->isHidden());
    stopWindow();

    devices.wiredM1 = false;
    devices.wiredM2 = true; // no sensor options
    start();
    EXPECT_TRUE(control(kPage, C::SensorCaption)->isHidden());
    EXPECT_TRUE(control(kPage, C::FirstSensorOption + 2)->isHidden());
    EXPECT_FALSE(control(kPage, C::LiftOffHigh)->isHidden());
    EXPECT_FALSE(control(kPage, C::Response)->isHidden());
    EXPECT_LT(control(kPage, C::SleepCaption)->y(), sleepWithAll);
    EXPECT_EQ(control(kPage, C::SleepCaption)->y(), control(kPage, C::ResponseCaption)->y() + 46);
}

TEST_F(PerformancePageTest, WithoutLiftOffAndResponseTimeTheRowsBelowMoveUp) {
    start();
    const int sensorWithAll = control(kPage, C::SensorCaption)->y();
    const int sleepWithAll = control(kPage, C::SleepCaption)->y();
    stopWindow();

    installEditedDeviceFiles("show_lod=\"1\" show_sensor=\"1\" show_respondtime=\"1\"",
                             "show_lod=\"0\" show_sensor=\"1\" show_respondtime=\"0\"");
    start();
    for (int id : {C::LiftOffCaption, C::LiftOffHelp, C::LiftOffLow, C::LiftOffHigh,
                   C::ResponseCaption, C::Response})
        EXPECT_TRUE(control(kPage, id)->isHidden()) << id;
    EXPECT_FALSE(control(kPage, C::FirstSensorOption)->isHidden());
    EXPECT_LT(control(kPage, C::SensorCaption)->y(), sensorWithAll);
    EXPECT_LT(control(kPage, C::SleepCaption)->y(), sleepWithAll - 80) << "two rows up";
    EXPECT_GT(control(kPage, C::SleepCaption)->y(), control(kPage, C::FirstSensorOption)->y());
}

TEST_F(PerformancePageTest, TheSystemSettingsButtonOpensTheDesktopsMouseSettings) {
    start();
    click(kPage, C::SystemSettings);
    EXPECT_EQ(recordingSystem.mouseSettingsOpened, 1);
    EXPECT_TRUE(tasks.empty());
}

// Keyboard use: Tab reaches every control the page shows, each once, each named, top to
// bottom.
TEST_F(PerformancePageTest, EveryControlIsReachedByTabAndNamed) {
    start();
    QWidget* container = window->pageContainer(kPage);
    const std::vector<QWidget*> reached = walkWithTab(container, control(kPage, C::DpiHelp));
    const std::set<QWidget*> focusable = focusableControls(container);
    ASSERT_GT(focusable.size(), 30u) << "the page's controls were found";
    const std::set<QWidget*> reachedOnce(reached.begin(), reached.end());
    EXPECT_EQ(reachedOnce.size(), reached.size()) << "no control twice";
    for (QWidget* widget : focusable) {
        const QWidget* owner = dynamic_cast<ui::Control*>(widget) ? widget : widget->parentWidget();
        EXPECT_TRUE(reachedOnce.count(widget))
            << "not reached: " << owner->metaObject()->className() << " "
            << owner->accessibleName().toStdString() << " at " << owner->y();
    }
    EXPECT_EQ(reachedOnce.size(), focusable.size());
    // Top to bottom; inside the stage bar stage by stage (button, value, colour).
    QWidget* bar = control(kPage, C::StageBar);
    int previousTop = -1;
    for (QWidget* widget : reached) {
        const auto* named = dynamic_cast<ui::Control*>(widget) ? widget : widget->parentWidget();
        EXPECT_FALSE(named->accessibleName().isEmpty() && widget->accessibleName().isEmpty())
            << named->metaObject()->className() << " at " << named->y();
        const int top =
            bar->isAncestorOf(widget) ? bar->y() : named->mapTo(container, QPoint(0, 0)).y();
        EXPECT_GE(top + 40, previousTop) << "Tab goes top to bottom";
        previousTop = std::max(previousTop, top);
    }
}

} // namespace
} // namespace corvane::pages::test
