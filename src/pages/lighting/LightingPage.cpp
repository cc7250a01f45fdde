// The lighting page's behaviour: loading the modes from the store, showing what the mode
// allows, and the user's changes. Its controls and their layout are in LightingLayout.cpp.
#include "pages/lighting/LightingPage.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/ColourChannels.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "store/ValueRules.h"
#include "ui/base/Colour.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/Slider.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/Picture.h"

#include <vector>

namespace corvane::pages {

namespace C = LightingControl;

namespace {

constexpr int kTextBrightness = 278;
constexpr int kTextSpeed = 279;
constexpr int kTextResetQuestion = 275;
constexpr int kTextResetTitle = 276;

// What the brightness text says for each level (any other level reads as full).
constexpr int kBrightnessPercent[] = {0, 25, 50, 75, 100};

} // namespace

LightingPage::LightingPage(PageHost& host) : m_host(host) {
    m_channelPause.setSingleShot(true);
    m_channelPause.setInterval(std::chrono::milliseconds(400));
    QObject::connect(&m_channelPause, &QTimer::timeout, [this] { commitChannels(); });
}

int LightingPage::profile() const {
    return m_host.currentProfile();
}

void LightingPage::send() const {
    m_host.queueTask(protocol::DeviceTask::SendLighting);
    m_host.showSaveWait();
}

QString LightingPage::text(int id) const {
    return i18n::lookupText(i18n::kTextSection, id);
}

std::optional<store::LightEffect> LightingPage::currentLight() const {
    store::LightEffect light;
    if (!store::ProfileDatabase::instance().getLight(profile(), m_mode, light))
        return std::nullopt;
    return light;
}

// --- loading ---

void LightingPage::reload() {
    loadLightingPage();
}

void LightingPage::loadLightingPage() {
    if (!m_controls || profile() <= 0)
        return;
    // A colour typed for the profile shown before is not the new one's.
    m_channelPause.stop();
    m_channelTyped = false;
    store::ProfileDatabase& database = store::ProfileDatabase::instance();
    // A profile without light rows gets one per mode the device offers; mode 1 is current.
    database.createDefaultLights(profile(), m_host.deviceDetails().lightEffects);

    auto* modes = m_controls->find<ui::ComboBox>(C::Mode);
    modes->clear();
    std::vector<store::LightEffect> lights;
    database.listLights(profile(), lights);
    for (const store::LightEffect& light : lights)
        modes->addItem(text(light.reserved), light.mode);
    m_mode = database.getCurrentLightMode(profile());
    if (!modes->selectData(m_mode))
        modes->setCurrentIndex(-1);
    showLightMode();
}

void LightingPage::showLightMode() {
    const int mode = m_controls->find<ui::ComboBox>(C::Mode)->currentData();
    store::LightEffect light;
    if (!store::ProfileDatabase::instance().getLight(profile(), mode, light))
        return;
    store::ProfileDatabase::instance().setCurrentLightMode(profile(), mode);
    m_mode = mode;
    m_functions = light.configFunc;

    const bool brightness = (light.configFunc & store::LightFunction::Brightness) != 0;
    for (int id : {C::BrightnessLabel, C::BrightnessValue, C::Brightness})
        m_controls->control(id)->setVisible(brightness);
    if (brightness) {
        m_controls->find<ui::Slider>(C::Brightness)->setPosition(light.brightness);
        showBrightnessText(light.brightness);
    }

    const bool speed = (light.configFunc & store::LightFunction::Speed) != 0;
    for (int id : {C::SpeedLabel, C::SpeedValue, C::Speed})
        m_controls->control(id)->setVisible(speed);
    if (speed) {
        m_controls->find<ui::Slider>(C::Speed)->setPosition(light.speed);
        showSpeedText(light.speed);
    }

    const bool withSlots = (light.configFunc & store::LightFunction::ColourSlots) != 0;
    m_controls->control(C::SlotLabel)->setVisible(withSlots);
    for (int i = 0; i < kSlots; ++i) {
        auto* slot = m_controls->find<ui::ColourSwatch>(C::FirstSlot + i);
        slot->setVisible(withSlots);
        if (withSlots)
            slot->setColour(ui::colourFromBgr(light.colorValues[std::size_t(i)]));
    }
    if (withSlots)
        m_controls->find<ui::ColourSwatch>(C::FirstSlot)->setChecked(true);

    const bool editor = (light.configFunc & store::LightFunction::Colour) != 0;
    for (int id : {C::PresetLabel, C::PaletteLabel, C::Palette, C::Preview})
        m_controls->control(id)->setVisible(editor);
    for (int i = 0; i < kPresets; ++i)
        m_controls->control(C::FirstPreset + i)->setVisible(editor);
    for (int i = 0; i < 3; ++i) {
        m_controls->control(C::FirstChannelLabel + i)->setVisible(editor);
        m_controls->control(C::FirstChannel + i)->setVisible(editor);
    }
    if (editor) {
        // The editor starts at the mode's first colour (the slot that is on).
        const int colour = light.colorValues[0];
        showChannels(colour);
        showPreview(colour);
        showOnPalette(colour);
    }
    placeContent();
}

void LightingPage::retextModes() {
    auto* modes = m_controls->find<ui::ComboBox>(C::Mode);
    if (modes->count() == 0)
        return; // never loaded: the first load names the modes
    std::vector<store::LightEffect> lights;
    store::ProfileDatabase::instance().listLights(profile(), lights);
    for (const store::LightEffect& light : lights) {
        const int index = modes->findData(light.mode);
        if (index >= 0)
            modes->setItemText(index, text(light.reserved));
    }
    showBrightnessText(m_controls->find<ui::Slider>(C::Brightness)->position());
    showSpeedText(m_controls->find<ui::Slider>(C::Speed)->position());
}

void LightingPage::showBrightnessText(int level) {
    const int percent = level >= 0 && level < int(std::size(kBrightnessPercent))
                            ? kBrightnessPercent[level]
                            : kBrightnessPercent[std::size(kBrightnessPercent) - 1];
    m_controls->control(C::BrightnessValue)
        ->setText(QStringLiteral("%1: %2%").arg(text(kTextBrightness)).arg(percent));
}

void LightingPage::showSpeedText(int speed) {
    m_controls->control(C::SpeedValue)
        ->setText(QStringLiteral("%1: %2").arg(text(kTextSpeed)).arg(speed));
}

void LightingPage::showChannels(int colour) {
    for (int i = 0; i < 3; ++i)
        m_controls->find<ui::NumberField>(C::FirstChannel + i)
            ->setValue((colour >> (8 * i)) & 0xFF);
}

void LightingPage::showOnPalette(int colour) {
    m_controls->find<ui::ColourPalette>(C::Palette)->setColour(ui::colourFromBgr(colour));
}

void LightingPage::showPreview(int colour) {
    m_controls->find<ui::Picture>(C::Preview)->setFillColour(ui::colourFromBgr(colour));
}

// --- the user's changes ---

int LightingPage::onMessage(int local, int code, int p1, int /*p2*/) {
    const bool click = code == ui::Notify::Click;
    if (local == C::Mode && click) {
        modeChosen();
    } else if ((local == C::Brightness || local == C::Speed) &&
               (code == ui::Notify::Moving || click)) {
        sliderMoved(local, p1, click);
    } else if (local >= C::FirstPreset && local < C::FirstPreset + kPresets && click) {
        presetChosen(local - C::FirstPreset);
    } else if (local == C::Palette && (code == ui::Notify::ColourPicked || click)) {
        paletteMoved(p1, click);
    } else if (local >= C::FirstChannel && local < C::FirstChannel + 3 &&
               code == ui::Notify::TextChanged) {
        channelTyped(local);
    } else if (local >= C::FirstChannel && local < C::FirstChannel + 3 &&
               code == ui::Notify::FocusLost) {
        commitChannels(); // leaving the field, or Enter, completes the value
    } else if (local == C::Reset && click) {
        reset();
    }
    return 0;
}

void LightingPage::modeChosen() {
    commitChannels(); // a colour still being typed belongs to the mode it was typed for
    showLightMode();
    send();
}

void LightingPage::sliderMoved(int local, int value, bool released) {
    const bool brightness = local == C::Brightness;
    if (brightness)
        showBrightnessText(value);
    else
        showSpeedText(value);
    if (!released)
        return; // nothing is stored while the thumb moves
    std::optional<store::LightEffect> light = currentLight();
    if (!light)
        return;
    (brightness ? light->brightness : light->speed) = value;
    store::ProfileDatabase::instance().updateLight(m_mode, *light);
    send();
}

void LightingPage::presetChosen(int preset) {
    const int colour =
        ui::bgrFromColour(m_controls->find<ui::ColourSwatch>(C::FirstPreset + preset)->colour());
    showChannels(colour);
    showOnPalette(colour);
    applyColour(colour);
}

void LightingPage::paletteMoved(int colour, bool released) {
    for (int i = 0; i < kPresets; ++i)
        m_controls->find<ui::ColourSwatch>(C::FirstPreset + i)->setChecked(false);
    showChannels(colour);
    if (released)
        applyColour(colour);
    else
        showPreview(colour);
}

int LightingPage::typedColour() const {
    int colour = 0;
    for (int i = 0; i < 3; ++i)
        colour |= channelValue(*m_controls->find<ui::NumberField>(C::FirstChannel + i)) << (8 * i);
    return colour;
}

void LightingPage::channelTyped(int local) {
    // Out of range is limited and written back, never refused. The palette and the
    // preview follow each key; the store and the mouse get the value once it is complete.
    limitColourChannel(*m_controls->find<ui::NumberField>(local));
    const int colour = typedColour();
    showOnPalette(colour);
    showPreview(colour);
    m_channelTyped = true;
    m_channelPause.start();
}

void LightingPage::commitChannels() {
    m_channelPause.stop();
    if (!m_channelTyped)
        return; // nothing typed since the last store
    m_channelTyped = false;
    applyColour(typedColour());
}

void LightingPage::applyColour(int colour) {
    showPreview(colour);
    std::optional<store::LightEffect> light = currentLight();
    if (!light)
        return;
    light->colorValues[0] = colour;
    if ((light->configFunc & store::LightFunction::ColourSlots) != 0) {
        // The slot that is on takes the colour; the row keeps the seven withSlots.
        for (int i = 0; i < kSlots; ++i) {
            auto* slot = m_controls->find<ui::ColourSwatch>(C::FirstSlot + i);
            if (slot->isChecked()) {
                slot->setColour(ui::colourFromBgr(colour));
                break;
            }
        }
        for (int i = 0; i < kSlots; ++i) {
            light->colorValues[std::size_t(i)] =
                ui::bgrFromColour(m_controls->find<ui::ColourSwatch>(C::FirstSlot + i)->colour());
        }
    }
    store::ProfileDatabase::instance().updateLight(m_mode, *light);
    send();
}

void LightingPage::reset() {
    if (m_host.showMessage(text(kTextResetQuestion), text(kTextResetTitle), MessageTwoButtons) ==
        ui::ResultSecond)
        return;
    if (m_host.deviceDetails().hasLighting) {
        // Only the current profile's lighting goes back to the defaults; the other
        // profiles keep theirs.
        store::ProfileDatabase& database = store::ProfileDatabase::instance();
        database.deleteLights(profile());
        database.createDefaultLights(profile(), m_host.deviceDetails().lightEffects);
    }
    // The mouse resets its own lighting; the worker reads the mode back and reloads us.
    m_host.queueTask(protocol::DeviceTask::ResetLighting);
    m_host.showSaveWait();
}

} // namespace corvane::pages
