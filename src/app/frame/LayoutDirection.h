#pragma once
// The reading direction of the interface follows its language.

namespace corvane::app {

// Right to left for a language written that way, else left to right, for every window.
void applyLayoutDirection(int lcid);

} // namespace corvane::app
