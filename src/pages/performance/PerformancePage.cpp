// The performance page's behaviour: loading from the store, the user's actions and what
// the device worker reports. Its controls and their layout are in PerformanceLayout.cpp.
#include "pages/performance/PerformancePage.h"

#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceDetails.h"
#include "i18n/LanguageTexts.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/dialogs/MousePaletteDlg.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "pages/host/SystemIntegration.h"
#include "protocol/transport/SettingValues.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "store/SettingKey.h"
#include "store/ValueRules.h"
#include "ui/base/Colour.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourSwatch.h"

#include <QApplication>

namespace corvane::pages {

namespace C = PerformanceControl;
namespace keys = protocol::keys;
using protocol::DeviceTask::RestoreDpiDefaults;
using protocol::DeviceTask::SendDpi;
using protocol::DeviceTask::SendDpiColors;
using protocol::DeviceTask::SendPower;
using protocol::DeviceTask::SendReportRate;
using protocol::DeviceTask::SendSensor;

namespace {

constexpr int kTextDpiResetQuestion = 258;
constexpr int kTextDpiResetTitle = 253;
constexpr int kSensorBits[] = {4, 8, 16};

} // namespace

PerformancePage::PerformancePage(PageHost& host) : m_host(host) {}

// --- helpers ---

int PerformancePage::sensorId() const {
    return m_host.deviceValues().sensorId;
}

int PerformancePage::profile() const {
    return m_host.currentProfile();
}

int PerformancePage::storedInt(QStringView key) const {
    return store::ProfileDatabase::instance().getSettingInt(profile(), key);
}

void PerformancePage::store(QStringView key, int value) const {
    store::ProfileDatabase::instance().setSetting(profile(), key, value);
}

void PerformancePage::send(int task) const {
    m_host.queueTask(task);
    m_host.showSaveWait();
}

QString PerformancePage::text(int id) const {
    return i18n::lookupText(i18n::kTextSection, id);
}

int PerformancePage::activeStage() const {
    for (int i = 0; i < m_shownCount; ++i) {
        const auto* stage = m_controls->find<ui::RadioButton>(C::FirstStage + i);
        if (stage && stage->isChecked())
            return i;
    }
    return -1;
}

// --- loading ---

void PerformancePage::reload() {
    loadPage();
}

void PerformancePage::loadPage() {
    if (!m_controls)
        return;
    if (auto* response = m_controls->find<ui::NumberField>(C::Response))
        response->setValue(storedInt(keys::buttonResponseTime));
    loadRates();
    applySensorLimits();

    // A count the mouse, a file or the store gives outside 1..6 is never laid out: the
    // nearest count is shown, and the store keeps its value until the user changes it.
    const int count = store::kStageCountRange.clamp(storedInt(keys::dpiCount));
    const int index = storedInt(keys::dpiIndex);
    m_lastApplied = index;
    showStages(count, storedStages(), store::isStageIndex(index, count) ? index : 0);

    const int flags = storedInt(keys::sensorFlag);
    for (int i = 0; i < 3; ++i) {
        if (auto* box = m_controls->find<ui::CheckBox>(C::FirstSensorOption + i))
            box->setChecked((flags & kSensorBits[i]) != 0);
    }
    const bool high = storedInt(keys::liftoffHeight) == store::kLiftOffHigh;
    m_controls->find<ui::RadioButton>(high ? C::LiftOffHigh : C::LiftOffLow)->setChecked(true);

    auto* sleep = m_controls->find<ui::ComboBox>(C::Sleep);
    if (!sleep->selectData(storedInt(keys::sleepLight)))
        sleep->setCurrentIndex(-1);
    m_controls->find<ui::CheckBox>(C::WakeOnMove)->setChecked(storedInt(keys::moveWakeup) == 1);
    m_controls->find<ui::CheckBox>(C::LightOffOnMove)
        ->setChecked(storedInt(keys::moveCloseLight) == 1);
}

std::array<PerformancePage::Stage, PerformancePage::kStages> PerformancePage::storedStages() const {
    std::array<Stage, kStages> stages;
    for (int i = 0; i < kStages; ++i) {
        stages[std::size_t(i)].dpi = storedInt(keys::dpiValue[std::size_t(i)]);
        stages[std::size_t(i)].colour = storedInt(keys::dpiColor[std::size_t(i)]);
    }
    return stages;
}

void PerformancePage::showStages(int count, const std::array<Stage, kStages>& stages, int active) {
    m_shownCount = count;
    m_controls->find<ui::ComboBox>(C::StageCount)->selectData(count);
    for (int i = 0; i < kStages; ++i) {
        const bool shown = i < count;
        const Stage& stage = stages[std::size_t(i)];
        for (int first : {C::FirstStage, C::FirstStageValue, C::FirstStageColour})
            m_controls->control(first + i)->setVisible(shown);
        m_controls->find<ui::RadioButton>(C::FirstStage + i)->setChecked(false);
        m_controls->find<ui::NumberField>(C::FirstStageValue + i)->setValue(stage.dpi);
        m_controls->find<ui::ColourSwatch>(C::FirstStageColour + i)
            ->setColour(ui::colourFromBgr(stage.colour));
    }
    m_edited.fill(false);
    selectStage(active, stages[std::size_t(active)].dpi);
}

void PerformancePage::selectStage(int stage, int dpi) {
    if (stage < 0 || stage >= m_shownCount)
        return;
    m_controls->find<ui::RadioButton>(C::FirstStage + stage)->setChecked(true);
    m_controls->find<ui::Slider>(C::Slider)->setPosition(
        store::dpiToSliderPosition(sensorId(), dpi));
}

void PerformancePage::loadRates() {
    // The colour each rate is marked with in the list (0xRRGGBB).
    struct RateMark {
        int hertz;
        unsigned rgb;
    };
    static constexpr RateMark kMarks[] = {
        {125, 0x0108F1},  {250, 0xED6B00},  {500, 0x4DF600},  {1000, 0x20A3FF},
        {2000, 0xC9012B}, {4000, 0xFFFF00}, {8000, 0xFFFFFF},
    };
    auto* rates = m_controls->find<ui::ComboBox>(C::Rate);
    rates->clear();
    for (const store::ReportRateChoice& rate :
         store::offeredReportRates(m_host.deviceValues().rateCapability)) {
        QColor mark;
        for (const RateMark& entry : kMarks) {
            if (entry.hertz == rate.hertz)
                mark = QColor::fromRgb(entry.rgb);
        }
        rates->addItem(QStringLiteral("%1Hz").arg(rate.hertz), rate.code, mark);
    }
    if (!rates->selectData(storedInt(keys::reportRate)))
        rates->setCurrentIndex(-1);
}

void PerformancePage::applySensorLimits() {
    const store::SensorDpiRule& rule = store::sensorDpiRule(sensorId());
    m_controls->find<ui::Slider>(C::Slider)->setRange(0, store::dpiSliderMaxPosition(sensorId()));
    m_controls->control(C::SliderMinimum)->setText(QString::number(rule.dpiMin));
    m_controls->control(C::SliderMaximum)->setText(QString::number(rule.dpiMax));
}

void PerformancePage::showDeviceDetails(const catalog::DeviceDetails& details) {
    setGroupsShown(details);
}

void PerformancePage::closePopups() {
    QWidget* focused = QApplication::focusWidget();
    QWidget* bar = m_controls ? m_controls->control(C::StageBar) : nullptr;
    if (focused && bar && bar->isAncestorOf(focused))
        focused->clearFocus();
}

// --- what the worker reports ---

void PerformancePage::showStageCount(int count) {
    if (!m_controls || !store::isStageCount(count))
        return;
    const int index = storedInt(keys::dpiIndex);
    showStages(count, storedStages(), store::isStageIndex(index, count) ? index : 0);
}

void PerformancePage::showActiveStage(int stage, int dpi, bool showPopup) {
    if (!m_controls)
        return;
    const bool inRange = stage >= 0 && stage < m_shownCount;
    m_lastApplied = stage;
    selectStage(inRange ? stage : 0, inRange ? dpi : storedStages()[0].dpi);
    if (showPopup && inRange)
        m_host.showDpiPopup(dpi);
}

void PerformancePage::showDpiStages(const protocol::DpiStagesView& view) {
    if (!m_controls)
        return;
    std::array<Stage, kStages> stages;
    for (int i = 0; i < kStages; ++i)
        stages[std::size_t(i)] = {view.values[std::size_t(i)], view.colours[std::size_t(i)]};
    const int count = store::kStageCountRange.clamp(view.count);
    const int active = store::isStageIndex(view.activeStage, count) ? view.activeStage : 0;
    m_lastApplied = active;
    showStages(count, stages, active);
}

// --- the user's actions ---

int PerformancePage::onMessage(int local, int code, int p1, int /*p2*/) {
    const bool click = code == ui::Notify::Click;
    if (local >= C::FirstStage && local < C::FirstStage + kStages) {
        if (click)
            stageSelected(local - C::FirstStage);
    } else if (local >= C::FirstStageValue && local < C::FirstStageValue + kStages) {
        const int stage = local - C::FirstStageValue;
        if (code == ui::Notify::FocusGained) {
            m_edited[std::size_t(stage)] = false;
            stageSelected(stage);
        } else if (code == ui::Notify::TextChanged) {
            m_edited[std::size_t(stage)] = true;
        } else if (code == ui::Notify::FocusLost && m_edited[std::size_t(stage)]) {
            m_edited[std::size_t(stage)] = false;
            stageValueEdited(stage);
        }
    } else if (local >= C::FirstStageColour && local < C::FirstStageColour + kStages) {
        if (click)
            stageColour(local - C::FirstStageColour);
    } else if (local >= C::FirstSensorOption && local < C::FirstSensorOption + 3) {
        if (click)
            sensorOptionsChanged();
    } else if (local == C::Slider) {
        if (code == ui::Notify::Moving || click)
            sliderMoved(p1, click);
    } else if (local == C::Response) {
        if (code == ui::Notify::TextChanged)
            responseTimeTyped();
        else if (code == ui::Notify::FocusLost)
            responseTimeLeft();
    } else if (click) {
        switch (local) {
        case C::Apply:
            send(SendDpi);
            break;
        case C::StageCount:
            stageCountChosen(p1 >= 0 ? m_controls->find<ui::ComboBox>(C::StageCount)->itemData(p1)
                                     : 0);
            break;
        case C::DpiReset:
            resetDpi();
            break;
        case C::Rate:
            rateChosen(m_controls->find<ui::ComboBox>(C::Rate)->itemData(p1));
            break;
        case C::RateReset:
            resetRate();
            break;
        case C::LiftOffLow:
        case C::LiftOffHigh:
            liftOffChosen(local == C::LiftOffHigh);
            break;
        case C::Sleep:
            sleepChosen(m_controls->find<ui::ComboBox>(C::Sleep)->itemData(p1));
            break;
        case C::WakeOnMove:
        case C::LightOffOnMove:
            movementOption(local, p1 != 0);
            break;
        case C::SystemSettings:
            if (SystemIntegration* system = m_host.systemIntegration())
                system->openMouseControlPanel();
            break;
        default:
            break;
        }
    }
    return 0;
}

void PerformancePage::stageSelected(int stage) {
    if (stage >= m_shownCount)
        return;
    const int dpi = storedInt(keys::dpiValue[std::size_t(stage)]);
    store(keys::dpiIndex, stage);
    selectStage(stage, dpi);
    if (stage != m_lastApplied) {
        m_lastApplied = stage;
        send(SendDpi);
        m_host.showDpiPopup(dpi);
    }
}

void PerformancePage::stageValueEdited(int stage) {
    auto* field = m_controls->find<ui::NumberField>(C::FirstStageValue + stage);
    // Not a number counts as 0, which becomes the sensor's minimum; every value is snapped
    // to what the sensor's encoding carries, so the page shows what the mouse runs.
    const int dpi = store::snapDpi(sensorId(), field->value());
    field->setValue(dpi);
    m_controls->find<ui::Slider>(C::Slider)->setPosition(
        store::dpiToSliderPosition(sensorId(), dpi));
    store(keys::dpiValue[std::size_t(stage)], dpi);
    m_host.queueTask(SendDpi);
    if (stage != m_lastApplied) {
        m_lastApplied = stage;
        m_host.showDpiPopup(dpi);
    }
    m_host.showSaveWait();
}

void PerformancePage::stageColour(int stage) {
    auto* swatch = m_controls->find<ui::ColourSwatch>(C::FirstStageColour + stage);
    // Closed without OK changes nothing; black is a colour like any other (the stage's
    // light off), not "no answer".
    const std::optional<int> chosen =
        pickColour(m_host.mainWindow(), ui::bgrFromColour(swatch->colour()));
    if (!chosen)
        return;
    swatch->setColour(ui::colourFromBgr(*chosen));
    store(keys::dpiColor[std::size_t(stage)], *chosen);
    send(SendDpiColors);
    m_host.showDpiPopup(storedInt(keys::dpiValue[std::size_t(stage)]));
}

void PerformancePage::sliderMoved(int position, bool ended) {
    const int stage = activeStage();
    if (stage >= 0) {
        // A position below the sensor's minimum stores the minimum, never 0 DPI.
        const int dpi = store::sliderPositionToDpi(sensorId(), position);
        m_controls->find<ui::NumberField>(C::FirstStageValue + stage)->setValue(dpi);
        store(keys::dpiValue[std::size_t(stage)], dpi);
    }
    if (ended)
        send(SendDpi);
}

void PerformancePage::stageCountChosen(int count) {
    if (!store::isStageCount(count))
        return;
    int index = storedInt(keys::dpiIndex);
    store(keys::dpiCount, count);
    if (!store::isStageIndex(index, count)) {
        index = index < 0 ? 0 : count - 1;
        store(keys::dpiIndex, index);
    }
    m_lastApplied = index;
    showStages(count, storedStages(), index);
    send(SendDpi);
}

void PerformancePage::resetDpi() {
    const int answer = m_host.showMessage(text(kTextDpiResetQuestion), text(kTextDpiResetTitle),
                                          MessageTwoButtons);
    if (answer == ui::ResultSecond)
        return;
    // The worker restores the device file's stages and shows them here (showDpiStages).
    send(RestoreDpiDefaults);
}

void PerformancePage::rateChosen(int code) {
    if (!store::isReportRateCode(code))
        return;
    store(keys::reportRate, code);
    store(keys::reportRateWireless, code);
    send(SendReportRate);
}

void PerformancePage::resetRate() {
    // The device file's factory rate. The mouse's rate capability stays as the mouse
    // reported it: a reset must not take the upper rates from an 8000 Hz mouse.
    const std::optional<catalog::DeviceDescription> device =
        catalog::findDescription(m_host.deviceCatalog(), m_host.currentDeviceType());
    int code = 0;
    if (device) {
        for (const auto& [key, value] :
             catalog::performanceDefaults(m_host.exeFolder(), device->deviceAttr, false)) {
            if (key == keys::reportRate)
                code = store::settingValueToInt(value);
        }
    }
    if (store::isReportRateCode(code)) {
        store(keys::reportRate, code);
        store(keys::reportRateWireless, code);
        m_controls->find<ui::ComboBox>(C::Rate)->selectData(code);
    }
    send(SendReportRate);
}

void PerformancePage::liftOffChosen(bool high) {
    store(keys::liftoffHeight, high ? store::kLiftOffHigh : store::kLiftOffLow);
    send(SendSensor);
}

void PerformancePage::sensorOptionsChanged() {
    // The three boxes make the whole value: other bits of the stored value are dropped.
    int flags = 0;
    for (int i = 0; i < 3; ++i) {
        if (m_controls->find<ui::CheckBox>(C::FirstSensorOption + i)->isChecked())
            flags |= kSensorBits[i];
    }
    store(keys::sensorFlag, flags);
    send(SendSensor);
}

void PerformancePage::responseTimeTyped() {
    // Only a complete value in range is sent while typing: "30" must not send 3 first.
    const auto* field = m_controls->find<ui::NumberField>(C::Response);
    const std::optional<int> value = store::plainDecimal(field->text());
    if (!value || !store::kResponseTimeRange.contains(*value))
        return;
    if (*value == storedInt(keys::buttonResponseTime))
        return;
    store(keys::buttonResponseTime, *value);
    send(SendPower);
}

void PerformancePage::responseTimeLeft() {
    // Leaving the field limits it to its range; the store and the mouse follow.
    auto* field = m_controls->find<ui::NumberField>(C::Response);
    const int value = store::kResponseTimeRange.clamp(field->value());
    if (field->text() != QString::number(value))
        field->setValue(value);
    if (value == storedInt(keys::buttonResponseTime))
        return;
    store(keys::buttonResponseTime, value);
    send(SendPower);
}

void PerformancePage::sleepChosen(int code) {
    if (!store::isSleepCode(code))
        return;
    store(keys::sleepLight, code);
    send(SendPower);
}

void PerformancePage::movementOption(int local, bool on) {
    store(local == C::WakeOnMove ? keys::moveWakeup : keys::moveCloseLight, on ? 1 : 0);
    send(SendPower);
}

} // namespace corvane::pages
