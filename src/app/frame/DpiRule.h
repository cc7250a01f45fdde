#pragma once

namespace corvane::app {

// Whether the program would ask to be drawn at the screen's own resolution: small
// screens (narrower than 1400 or lower than 800), and a 1920 x 1080 screen scaled above
// 125 %. On Linux the toolkit handles scaling; the decision is only logged.
bool shouldBeDpiAware(int width, int height, int scale);

// The scale class of a monitor's horizontal DPI: up to 96 -> 100, 120 -> 125,
// 144 / 168 / 192 -> the DPI itself, anything else -> 100.
int scaleClassOfDpi(int dpi);

// shouldBeDpiAware with a log line of the decision.
bool logDpiDecision(int width, int height, int scale);

} // namespace corvane::app
