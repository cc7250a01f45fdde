#pragma once
// pages/lighting: the lighting page and its layout.
// The lighting page: the mouse's lighting mode of the current profile and, as far as the
// mode allows (its row's configFunc bits), its brightness, speed and colours. Each change
// updates the mode's light row, queues the lighting task and shows the saving wait
// window; nothing is stored while a slider or the palette is being dragged, nor while a
// colour channel is being typed.

#include "pages/host/Page.h"
#include "store/LightEffect.h"

#include <QRect>
#include <QTimer>

#include <chrono>

#include <optional>

namespace corvane::pages {

class PageHost;

// The page's own control numbers (PageIds.h turns them into window ids).
namespace LightingControl {
inline constexpr int Background = 192;
inline constexpr int Caption = 194;
inline constexpr int Content = 195; // the panel behind the controls, sized per mode
inline constexpr int ModeLabel = 196;
inline constexpr int Mode = 197;
inline constexpr int ResetLabel = 200;
inline constexpr int Reset = 201;
inline constexpr int BrightnessLabel = 202;
inline constexpr int BrightnessValue = 203;
inline constexpr int Brightness = 204;
inline constexpr int SpeedLabel = 205;
inline constexpr int SpeedValue = 206;
inline constexpr int Speed = 207;
inline constexpr int PresetLabel = 208;
inline constexpr int FirstPreset = 209; // 209 .. 216
inline constexpr int SlotLabel = 217;
inline constexpr int FirstSlot = 218; // 218 .. 224
inline constexpr int PaletteLabel = 225;
inline constexpr int Palette = 226;
inline constexpr int Preview = 227;
inline constexpr int FirstChannelLabel = 228; // "R", "G", "B"
inline constexpr int FirstChannel = 231;      // 231 .. 233: R, G, B
} // namespace LightingControl

class LightingPage : public Page {
public:
    static constexpr int kPresets = 8;
    static constexpr int kSlots = 7;

    explicit LightingPage(PageHost& host);

    void createControls(PageControls& controls) override;
    void layout(const QRect& area, double uiScale) override;
    int onMessage(int local, int code, int p1, int p2) override;
    void reload() override;
    void applyTexts() override;

    // The mode the page edits (the selected entry's data; 0 before the first load).
    int currentMode() const { return m_mode; }

    // How long typing in a colour channel rests before the colour is stored and sent
    // (about 400 ms; tests set their own).
    void setChannelPause(std::chrono::milliseconds pause) { m_channelPause.setInterval(pause); }

private:
    void loadLightingPage();
    void showLightMode();
    // The mode names and value texts in the current language; everything else stays.
    void retextModes();
    void modeChosen();
    void sliderMoved(int local, int value, bool released);
    void presetChosen(int preset);
    void paletteMoved(int colour, bool released);
    void channelTyped(int local);
    // Stores and sends the colour typed in the channels, when typing has not done so yet.
    void commitChannels();
    int typedColour() const;
    void applyColour(int colour);
    void reset();

    void showBrightnessText(int level);
    void showSpeedText(int speed);
    void showChannels(int colour);
    void showPreview(int colour);
    // Moves the palette's marker to the colour (never notifies).
    void showOnPalette(int colour);
    void placeContent();
    std::optional<store::LightEffect> currentLight() const;
    int profile() const;
    void send() const;
    QString text(int id) const;

    PageHost& m_host;
    PageControls* m_controls = nullptr;
    QRect m_area;
    double m_scale = 1.0;
    int m_mode = 0;
    int m_functions = 0; // configFunc of the mode shown
    // Runs while a typed colour waits to be stored: each key restarts it, so "128" is sent
    // once and never as 1 and 12 first.
    QTimer m_channelPause;
    bool m_channelTyped = false; // a typed colour waits to be stored
};

} // namespace corvane::pages
