#pragma once
// pages/performance: the performance page, its layout and the DPI pop-up.
// The performance page: up to six DPI stages with a colour each and the active stage,
// the report rate, lift-off distance, sensor options, button response time, sleep time
// and the two movement options of the current profile. Every user action writes the
// setting at once, queues the task that sends that group to the mouse and shows the
// saving wait window. The rules of what a value may be (DPI per sensor, rates, sleep
// times, ranges) are the store's (store/ValueRules.h); the page owns only its controls.

#include "pages/host/Page.h"

#include <QRect>

#include <array>

namespace corvane::ui {
class Control;
}

namespace corvane::pages {

class PageHost;

// The page's own control numbers (PageIds.h turns them into window ids).
namespace PerformanceControl {
inline constexpr int Caption = 115;
inline constexpr int StageBar = 116; // the panel holding the stages
inline constexpr int Slider = 117;
inline constexpr int Apply = 118; // button 254: sends the stages again
inline constexpr int StageCount = 119;
inline constexpr int StageCountLabel = 120;
inline constexpr int DpiCaption = 121;
inline constexpr int DpiHelp = 122;
inline constexpr int DpiReset = 123;
inline constexpr int RateCaption = 124;
inline constexpr int RateHelp = 125;
inline constexpr int RateReset = 126;
inline constexpr int Rate = 127;
inline constexpr int LiftOffCaption = 128;
inline constexpr int LiftOffHelp = 129;
inline constexpr int LiftOffLow = 130;  // "1.0mm"
inline constexpr int LiftOffHigh = 131; // "2.0mm"
inline constexpr int SensorCaption = 132;
inline constexpr int SensorHelp = 133;
inline constexpr int FirstSensorOption = 134; // 134, 135, 136: bits 4, 8, 16
inline constexpr int ResponseCaption = 137;
inline constexpr int Response = 138;
inline constexpr int SleepCaption = 139;
inline constexpr int Sleep = 140;
inline constexpr int SleepLabel = 141;
inline constexpr int WakeOnMove = 142;
inline constexpr int LightOffOnMove = 143;
inline constexpr int SystemCaption = 144;
inline constexpr int SystemIcon = 145;
inline constexpr int SliderMinimum = 146;
inline constexpr int SliderMaximum = 147;
inline constexpr int SystemSettings = 149;   // opens the desktop's mouse settings
inline constexpr int FirstStage = 150;       // 150 .. 155: the stage buttons
inline constexpr int FirstStageValue = 160;  // 160 .. 165: their DPI fields
inline constexpr int FirstStageColour = 170; // 170 .. 175: their colour buttons
} // namespace PerformanceControl

class PerformancePage : public Page {
public:
    static constexpr int kStages = 6;

    explicit PerformancePage(PageHost& host);

    void createControls(PageControls& controls) override;
    void layout(const QRect& area, double uiScale) override;
    int onMessage(int local, int code, int p1, int p2) override;
    void reload() override;
    void applyTexts() override;
    void showDeviceDetails(const catalog::DeviceDetails& details) override;
    void closePopups() override;
    void showStageCount(int count) override;
    void showActiveStage(int stage, int dpi, bool showPopup) override;
    void showDpiStages(const protocol::DpiStagesView& stages) override;

    // The stage count laid out now and the last active stage sent to the mouse.
    int shownStageCount() const { return m_shownCount; }
    int lastAppliedStage() const { return m_lastApplied; }
    // The stage selected in the stage bar (-1 for none).
    int activeStage() const;

private:
    struct Stage {
        int dpi = 0;
        int colour = 0;
    };

    // --- loading ---
    void loadPage();
    void loadRates();
    // Lays out `count` stages (1..6) with their values and colours and selects `active`.
    void showStages(int count, const std::array<Stage, kStages>& stages, int active);
    std::array<Stage, kStages> storedStages() const;
    void selectStage(int stage, int dpi);
    void applySensorLimits();
    void setGroupsShown(const catalog::DeviceDetails& details);

    // --- the user's actions ---
    void stageSelected(int stage);
    void stageValueEdited(int stage);
    void stageColour(int stage);
    void sliderMoved(int position, bool ended);
    void stageCountChosen(int count);
    void resetDpi();
    void rateChosen(int code);
    void resetRate();
    void liftOffChosen(bool high);
    void sensorOptionsChanged();
    void responseTimeTyped();
    void responseTimeLeft();
    void sleepChosen(int code);
    void movementOption(int local, bool on);

    // --- helpers ---
    int sensorId() const;
    int profile() const;
    int storedInt(QStringView key) const;
    void store(QStringView key, int value) const;
    // Queues the task and shows the saving wait window.
    void send(int task) const;
    QString text(int id) const;

    PageHost& m_host;
    PageControls* m_controls = nullptr;
    QRect m_area;
    double m_scale = 1.0;
    bool m_showLiftOff = true;
    bool m_showSensor = true;
    bool m_showResponse = true;
    int m_shownCount = kStages;
    int m_lastApplied = 0;
    // The stage fields the user typed into since they got the focus.
    std::array<bool, kStages> m_edited{};
};

} // namespace corvane::pages
