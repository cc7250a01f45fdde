// The performance page's controls: what it creates, where they go, and their texts.
#include "pages/host/PageControls.h"
#include "pages/host/PageTexts.h"
#include "pages/performance/PerformancePage.h"
#include "store/ValueRules.h"
#include "ui/base/Skin.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/Picture.h"

#include "i18n/LanguageTexts.h"

namespace corvane::pages {

namespace C = PerformanceControl;

namespace {

const QString kStageGroup = QStringLiteral("IDC_PER_DPI_STAGE");
const QString kLiftOffGroup = QStringLiteral("IDC_PER_STC_LOD");

// Texts of the page: the control, its text and its tooltip (0: none).
constexpr PageText kTexts[] = {
    {C::Caption, 250, 0},
    {C::DpiCaption, 251, 0},
    {C::DpiHelp, 0, 252},
    {C::DpiReset, 0, 253},
    {C::Apply, 254, 0},
    {C::StageCountLabel, 260, 0},
    {C::RateCaption, 255, 0},
    {C::RateHelp, 0, 256},
    {C::RateReset, 0, 257},
    {C::LiftOffCaption, 501, 0},
    {C::LiftOffHelp, 0, 502},
    {C::SensorCaption, 503, 0},
    {C::FirstSensorOption, 515, 0},
    {C::FirstSensorOption + 1, 516, 0},
    {C::FirstSensorOption + 2, 517, 0},
    {C::ResponseCaption, 525, 0},
    {C::SleepCaption, 531, 0},
    {C::SleepLabel, 532, 0},
    {C::WakeOnMove, 533, 0},
    {C::LightOffOnMove, 534, 0},
    {C::SystemCaption, 535, 0},
    {C::SystemSettings, 536, 0},
};

// Controls without a text of their own, named after their caption for assistive use.
constexpr PageName kNames[] = {
    {C::Slider, 251}, {C::StageCount, 260}, {C::Rate, 255}, {C::Response, 525}, {C::Sleep, 532},
};

// The help text of the sensor options: the caption, the first option's name and two lines,
// then each other option's name and line.
constexpr int kSensorHelpTexts[] = {503, 505, 506, 509, 507, 508, 511, 512};

// Rows of the page, top to bottom, in design pixels (the window's 1300 x 788). A row
// of a hidden group takes no room: the rows below move up into it.
enum class Group { Always, LiftOff, Sensor, Response };
struct Row {
    Group group;
    int height;
    int first; // the row's first control
};

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

void PerformancePage::createControls(PageControls& controls) {
    // Made in reading order, which is the order Tab walks them.
    m_controls = &controls;
    const auto caption = [&](int id) {
        auto* text = controls.add<ui::StaticText>(id);
        text->setTextFont({}, 16, ui::FontBold);
        text->setWordWrap(false);
    };
    const auto label = [&](int id) {
        auto* text = controls.add<ui::StaticText>(id);
        text->setTextFont({}, 14);
        text->setWordWrap(false);
        text->setTextColour(ui::skin::mutedTextColour());
        return text;
    };
    const auto help = [&](int id) {
        auto* button = controls.add<ui::PushButton>(id);
        button->setImages(QStringLiteral("btn_help.png"));
        button->setGlyph(ui::Glyph::Help);
    };
    const auto reset = [&](int id) {
        auto* button = controls.add<ui::PushButton>(id);
        button->setImages(QStringLiteral("btn_reset.png"));
        button->setGlyph(ui::Glyph::Reset);
    };

    auto* title = controls.add<ui::StaticText>(C::Caption);
    title->setTextFont({}, 22, ui::FontBold);
    title->setWordWrap(false);

    // DPI: the stages with their values and colours, the slider, the stage count.
    caption(C::DpiCaption);
    help(C::DpiHelp);
    reset(C::DpiReset);
    label(C::StageCountLabel);
    auto* count = controls.add<ui::ComboBox>(C::StageCount);
    for (int n = store::kStageCountRange.min; n <= store::kStageCountRange.max; ++n)
        count->addItem(QString::number(n), n);
    count->selectData(kStages);
    auto* bar = controls.add<ui::Panel>(C::StageBar);
    for (int i = 0; i < kStages; ++i) {
        auto* stage = controls.add<ui::RadioButton>(C::FirstStage + i, {}, bar);
        stage->setGroup(kStageGroup);
        stage->setText(QString::number(i + 1));
        stage->setTextFont({}, 14, ui::FontBold);
        auto* value = controls.add<ui::NumberField>(C::FirstStageValue + i, {}, bar);
        value->setMaxDigits(5);
        value->setAlignment(Qt::AlignCenter);
        controls.add<ui::ColourSwatch>(C::FirstStageColour + i, {}, bar);
    }
    label(C::SliderMinimum);
    controls.add<ui::Slider>(C::Slider);
    label(C::SliderMaximum)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls.add<ui::PushButton>(C::Apply);

    caption(C::RateCaption);
    help(C::RateHelp);
    reset(C::RateReset);
    controls.add<ui::ComboBox>(C::Rate);

    caption(C::LiftOffCaption);
    help(C::LiftOffHelp);
    auto* low = controls.add<ui::RadioButton>(C::LiftOffLow);
    low->setGroup(kLiftOffGroup);
    low->setText(QStringLiteral("1.0mm"));
    low->setAccessibleText(low->text());
    low->setChecked(true);
    auto* high = controls.add<ui::RadioButton>(C::LiftOffHigh);
    high->setGroup(kLiftOffGroup);
    high->setText(QStringLiteral("2.0mm"));
    high->setAccessibleText(high->text());

    caption(C::SensorCaption);
    help(C::SensorHelp);
    for (int i = 0; i < 3; ++i)
        controls.add<ui::CheckBox>(C::FirstSensorOption + i);
    controls.find<ui::CheckBox>(C::FirstSensorOption + 2)->setChecked(true);

    caption(C::ResponseCaption);
    auto* response = controls.add<ui::NumberField>(C::Response);
    response->setRange(store::kResponseTimeRange.min, store::kResponseTimeRange.max);
    response->setMaxDigits(2);
    response->setAlignment(Qt::AlignCenter);

    caption(C::SleepCaption);
    label(C::SleepLabel);
    auto* sleep = controls.add<ui::ComboBox>(C::Sleep);
    for (const store::SleepChoice& choice : store::sleepChoices())
        sleep->addItem({}, choice.code);
    controls.add<ui::CheckBox>(C::WakeOnMove);
    controls.add<ui::CheckBox>(C::LightOffOnMove);

    caption(C::SystemCaption);
    auto* icon = controls.add<ui::Picture>(C::SystemIcon);
    icon->setImage(QStringLiteral("icon/tab_set.png"));
    icon->setFillColour(Qt::transparent);
    controls.add<ui::PushButton>(C::SystemSettings);

    applySensorLimits();
    applyTexts();
}

void PerformancePage::applyTexts() {
    if (!m_controls)
        return;
    applyPageTexts(*m_controls, kTexts, kNames);

    QStringList help;
    for (int id : kSensorHelpTexts)
        help << lookup(id);
    const QString sensorHelp =
        QStringLiteral("%1\n%2\n%3\n%4\n\n%5\n%6\n\n%7\n%8")
            .arg(help[0], help[1], help[2], help[3], help[4], help[5], help[6], help[7]);
    m_controls->control(C::SensorHelp)->setToolTip(sensorHelp);
    m_controls->control(C::SensorHelp)->setAccessibleText(lookup(503));

    const QString minutes = lookup(537);
    auto* sleep = m_controls->find<ui::ComboBox>(C::Sleep);
    for (int i = 0; i < sleep->count(); ++i) {
        for (const store::SleepChoice& choice : store::sleepChoices()) {
            if (choice.code == sleep->itemData(i))
                sleep->setItemText(i, QStringLiteral("%1 %2").arg(choice.minutes).arg(minutes));
        }
    }
    for (int i = 0; i < kStages; ++i) {
        const QString name = QStringLiteral("DPI %1").arg(i + 1);
        m_controls->control(C::FirstStage + i)->setAccessibleText(name);
        m_controls->control(C::FirstStageValue + i)->setAccessibleText(name);
        m_controls->control(C::FirstStageColour + i)->setAccessibleText(name + u' ' + lookup(271));
    }
}

void PerformancePage::setGroupsShown(const catalog::DeviceDetails& details) {
    m_showLiftOff = details.showLod;
    m_showSensor = details.showSensor;
    m_showResponse = details.showRespondTime;
    if (m_controls) {
        m_controls->window().restoreDesignRects();
        layout(m_area, m_scale);
        m_controls->window().scaleControls();
    }
}

void PerformancePage::layout(const QRect& area, double uiScale) {
    m_area = area;
    m_scale = uiScale > 0 ? uiScale : 1.0;
    if (!m_controls || area.isEmpty())
        return;
    const double s = m_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaledRect(x, y, w, h, s); };
    // The page fills the window's content frame; its rows keep a margin from the frame's
    // border. The stage bar's own controls are placed inside the bar.
    constexpr int kInsetX = 0;
    constexpr int kInsetY = 0;
    const auto place = [&](int id, int x, int y, int w, int h) {
        m_controls->control(id)->setGeometry(at(x + kInsetX, y + kInsetY, w, h));
    };
    const auto placeInBar = [&](int id, int x, int y, int w, int h) {
        m_controls->control(id)->setGeometry(at(x, y, w, h));
    };
    constexpr int kLeft = 24;

    // Fixed top part: caption, the DPI section with its stages and slider.
    place(C::Caption, kLeft, 8, 400, 34);
    place(C::DpiCaption, kLeft, 52, 300, 26);
    place(C::DpiHelp, 330, 53, 24, 24);
    place(C::DpiReset, 360, 53, 24, 24);
    place(C::StageCountLabel, 400, 52, 150, 26);
    place(C::StageCount, 556, 51, 80, 28);
    place(C::StageBar, kLeft, 86, 534, 96);
    constexpr int kStageWidth = 84;
    constexpr int kStageGap = 6;
    for (int i = 0; i < kStages; ++i) {
        const int x = i * (kStageWidth + kStageGap);
        placeInBar(C::FirstStage + i, x, 0, kStageWidth, 26);
        placeInBar(C::FirstStageValue + i, x, 30, kStageWidth, 30);
        placeInBar(C::FirstStageColour + i, x + 8, 66, kStageWidth - 16, 22);
    }
    place(C::SliderMinimum, kLeft, 192, 56, 28);
    place(C::Slider, kLeft + 60, 192, 320, 28);
    place(C::SliderMaximum, kLeft + 384, 192, 56, 28);
    place(C::Apply, 480, 190, 92, 32);

    // The option rows below: hidden groups take no room.
    const Row rows[] = {
        {Group::Always, 44, C::RateCaption},       {Group::LiftOff, 44, C::LiftOffCaption},
        {Group::Sensor, 32, C::SensorCaption},     {Group::Sensor, 42, C::FirstSensorOption},
        {Group::Response, 46, C::ResponseCaption}, {Group::Always, 32, C::SleepCaption},
        {Group::Always, 36, C::SleepLabel},        {Group::Always, 42, C::WakeOnMove},
        {Group::Always, 32, C::SystemCaption},     {Group::Always, 40, C::SystemIcon},
    };
    const auto shown = [&](Group group) {
        switch (group) {
        case Group::LiftOff:
            return m_showLiftOff;
        case Group::Sensor:
            return m_showSensor;
        case Group::Response:
            return m_showResponse;
        case Group::Always:
            break;
        }
        return true;
    };
    for (int id : {C::LiftOffCaption, C::LiftOffHelp, C::LiftOffLow, C::LiftOffHigh})
        m_controls->control(id)->setVisible(m_showLiftOff);
    for (int id : {C::SensorCaption, C::SensorHelp, C::FirstSensorOption, C::FirstSensorOption + 1,
                   C::FirstSensorOption + 2})
        m_controls->control(id)->setVisible(m_showSensor);
    for (int id : {C::ResponseCaption, C::Response})
        m_controls->control(id)->setVisible(m_showResponse);

    int y = 240;
    for (const Row& row : rows) {
        if (!shown(row.group))
            continue;
        switch (row.first) {
        case C::RateCaption:
            place(C::RateCaption, kLeft, y, 260, 28);
            place(C::RateHelp, 292, y + 2, 24, 24);
            place(C::RateReset, 322, y + 2, 24, 24);
            place(C::Rate, 360, y, 150, 28);
            break;
        case C::LiftOffCaption:
            place(C::LiftOffCaption, kLeft, y, 260, 28);
            place(C::LiftOffHelp, 292, y + 2, 24, 24);
            place(C::LiftOffLow, 360, y, 110, 28);
            place(C::LiftOffHigh, 480, y, 110, 28);
            break;
        case C::SensorCaption:
            place(C::SensorCaption, kLeft, y, 260, 28);
            place(C::SensorHelp, 292, y + 2, 24, 24);
            break;
        case C::FirstSensorOption:
            for (int i = 0; i < 3; ++i)
                place(C::FirstSensorOption + i, kLeft + 244 * i, y, 240, 28);
            break;
        case C::ResponseCaption:
            place(C::ResponseCaption, kLeft, y, 270, 28);
            place(C::Response, 300, y, 60, 28);
            break;
        case C::SleepCaption:
            place(C::SleepCaption, kLeft, y, 200, 28);
            break;
        case C::SleepLabel:
            place(C::SleepLabel, kLeft, y, 200, 28);
            place(C::Sleep, 232, y, 130, 28);
            break;
        case C::WakeOnMove:
            place(C::WakeOnMove, kLeft, y, 270, 28);
            place(C::LightOffOnMove, 300, y, 320, 28);
            break;
        case C::SystemCaption:
            place(C::SystemCaption, kLeft, y, 300, 28);
            break;
        case C::SystemIcon:
            place(C::SystemIcon, kLeft, y, 32, 32);
            place(C::SystemSettings, kLeft + 44, y, 180, 32);
            break;
        default:
            break;
        }
        y += row.height;
    }
}

} // namespace corvane::pages
