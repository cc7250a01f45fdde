#pragma once

namespace corvane::app {

// The name of the program's desktop entry (packaging/<name>.desktop), without ".desktop".
inline constexpr const char* kDesktopFileName = "io.github.corvane.Corvane";

} // namespace corvane::app
