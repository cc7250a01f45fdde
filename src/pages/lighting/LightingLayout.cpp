// The lighting page's controls: what it creates, where they go, and their texts.
#include "i18n/LanguageTexts.h"
#include "pages/dialogs/ColourChannels.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageTexts.h"
#include "pages/lighting/LightingPage.h"
#include "store/ValueRules.h"
#include "ui/base/Colour.h"
#include "ui/base/Skin.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/Picture.h"

namespace corvane::pages {

namespace C = LightingControl;

namespace {

// Preset colours (0x00BBGGRR); the slots start with the first seven.
constexpr int kPresetColours[LightingPage::kPresets] = {
    0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00, 0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF,
};
const QString kPresetGroup = QStringLiteral("IDC_LIGHT_PRESET");
const QString kSlotGroup = QStringLiteral("IDC_LIGHT_SLOT");

constexpr PageText kTexts[] = {
    {C::Caption, 265},    {C::ModeLabel, 266},   {C::ResetLabel, 267}, {C::BrightnessLabel, 268},
    {C::SpeedLabel, 269}, {C::PresetLabel, 270}, {C::SlotLabel, 272},  {C::PaletteLabel, 271},
};
// Controls without a text of their own, named after their label.
constexpr PageName kNames[] = {
    {C::Mode, 266},  {C::Reset, 267},   {C::Brightness, 268},
    {C::Speed, 269}, {C::Palette, 271}, {C::Preview, 271},
};

// Where the controls go inside the content panel (design pixels, its top left at the
// window's (230, 80)).
struct Place {
    int control;
    int x, y, w, h;
};
constexpr Place kPlaces[] = {
    {C::Caption, 20, 10, 460, 34},
    {C::ModeLabel, 20, 60, 160, 28},
    {C::Mode, 190, 58, 220, 32},
    {C::ResetLabel, 20, 108, 400, 28},
    {C::Reset, 440, 106, 32, 32},
    {C::BrightnessLabel, 20, 160, 160, 28},
    {C::BrightnessValue, 190, 160, 290, 28},
    {C::Brightness, 20, 190, 460, 30},
    {C::SpeedLabel, 20, 232, 160, 28},
    {C::SpeedValue, 190, 232, 290, 28},
    {C::Speed, 20, 262, 460, 30},
    {C::SlotLabel, 20, 310, 460, 28},
    {C::PresetLabel, 20, 396, 460, 28},
    {C::PaletteLabel, 20, 476, 460, 28},
    {C::Palette, 20, 506, 200, 100},
    {C::Preview, 236, 506, 84, 40},
};
// The rows end well above the window's bottom bar, which would cover the palette.
constexpr int kSlotTop = 342;
constexpr int kPresetTop = 428;
constexpr int kChannelTop = 506;
constexpr int kSwatchStep = 56;

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

void LightingPage::createControls(PageControls& controls) {
    // Made in reading order, which is the order Tab walks them.
    m_controls = &controls;
    auto* background = controls.add<ui::Picture>(C::Background);
    background->setFillColour(Qt::transparent);
    auto* content = controls.add<ui::Panel>(C::Content);
    content->setFillColour(ui::skin::panelColour());

    const auto label = [&](int id) {
        auto* text = controls.add<ui::StaticText>(id, {}, content);
        text->setTextFont({}, 15);
        text->setWordWrap(false);
        return text;
    };
    auto* caption = label(C::Caption);
    caption->setTextFont({}, 22, ui::FontBold);

    label(C::ModeLabel);
    controls.add<ui::ComboBox>(C::Mode, {}, content);
    label(C::ResetLabel);
    auto* reset = controls.add<ui::PushButton>(C::Reset, {}, content);
    reset->setImages(QStringLiteral("btn_reset.png"));
    reset->setGlyph(ui::Glyph::Reset);

    label(C::BrightnessLabel);
    label(C::BrightnessValue)->setTextColour(ui::skin::mutedTextColour());
    auto* brightness = controls.add<ui::Slider>(C::Brightness, {}, content);
    brightness->setRange(store::kBrightnessRange.min, store::kBrightnessRange.max);
    brightness->setPosition(4);
    label(C::SpeedLabel);
    label(C::SpeedValue)->setTextColour(ui::skin::mutedTextColour());
    auto* speed = controls.add<ui::Slider>(C::Speed, {}, content);
    speed->setRange(store::kSpeedRange.min, store::kSpeedRange.max);
    speed->setPosition(2);

    label(C::SlotLabel);
    for (int i = 0; i < kSlots; ++i) {
        auto* slot = controls.add<ui::ColourSwatch>(C::FirstSlot + i, {}, content);
        slot->setGroup(kSlotGroup);
        slot->setColour(ui::colourFromBgr(kPresetColours[i]));
    }
    label(C::PresetLabel);
    for (int i = 0; i < kPresets; ++i) {
        auto* preset = controls.add<ui::ColourSwatch>(C::FirstPreset + i, {}, content);
        preset->setGroup(kPresetGroup);
        preset->setColour(ui::colourFromBgr(kPresetColours[i]));
        preset->setAccessibleText(ui::colourFromBgr(kPresetColours[i]).name());
    }
    label(C::PaletteLabel);
    controls.add<ui::ColourPalette>(C::Palette, {}, content);
    controls.add<ui::Picture>(C::Preview, {}, content)->setFillColour(Qt::white);
    const char* const channels[] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        label(C::FirstChannelLabel + i)->setText(QString::fromLatin1(channels[i]));
        auto* field = controls.add<ui::NumberField>(C::FirstChannel + i, {}, content);
        makeColourChannel(*field);
        field->setAccessibleText(QString::fromLatin1(channels[i]));
    }
    applyTexts();
}

void LightingPage::applyTexts() {
    if (!m_controls)
        return;
    applyPageTexts(*m_controls, kTexts, kNames);
    m_controls->control(C::Reset)->setToolTip(lookup(267));
    for (int i = 0; i < kSlots; ++i)
        m_controls->control(C::FirstSlot + i)
            ->setAccessibleText(QStringLiteral("%1 %2").arg(lookup(272)).arg(i + 1));
    retextModes();
}

void LightingPage::layout(const QRect& area, double uiScale) {
    m_area = area;
    m_scale = uiScale > 0 ? uiScale : 1.0;
    if (!m_controls || area.isEmpty())
        return;
    const double s = m_scale;
    const auto at = [s](int x, int y, int w, int h) { return scaledRect(x, y, w, h, s); };
    m_controls->control(C::Background)->setGeometry(QRect(QPoint(0, 0), area.size()));
    for (const Place& place : kPlaces)
        m_controls->control(place.control)->setGeometry(at(place.x, place.y, place.w, place.h));
    for (int i = 0; i < kSlots; ++i)
        m_controls->control(C::FirstSlot + i)
            ->setGeometry(at(20 + kSwatchStep * i, kSlotTop, 44, 32));
    for (int i = 0; i < kPresets; ++i)
        m_controls->control(C::FirstPreset + i)
            ->setGeometry(at(20 + kSwatchStep * i, kPresetTop, 44, 32));
    for (int i = 0; i < 3; ++i) {
        m_controls->control(C::FirstChannelLabel + i)
            ->setGeometry(at(340, kChannelTop + 34 * i, 24, 28));
        m_controls->control(C::FirstChannel + i)
            ->setGeometry(at(368, kChannelTop + 34 * i, 64, 28));
    }
    placeContent();
}

void LightingPage::placeContent() {
    if (!m_controls || m_area.isEmpty())
        return;
    // Inside the page (which fills the window's content frame), 500 wide, as tall as the
    // mode's controls need.
    const double s = m_scale;
    const int height = (m_functions & store::LightFunction::Colour) != 0       ? int(658 * s)
                       : (m_functions & store::LightFunction::Brightness) != 0 ? int(430 * s)
                                                                               : int(170 * s);
    m_controls->window().restoreDesignRects();
    const QRect content(int(16 * s), int(16 * s), int(500 * s), height);
    m_controls->control(C::Content)->setGeometry(content);
    // Outside the window's layout pass (a mode change): drawn at the interface scale now.
    m_controls->window().scaleControls();
}

} // namespace corvane::pages
