#pragma once
// Start-up services of the platform layer that come before any window.

namespace Flurr {

// Reads the desktop size into ScreenWidth and ScreenHeight (800 x 600
// when there is no display to ask).
void ReadScreenSize();

// Routes ShowErrorBox to a real message box (besides stderr), except in a
// headless run, where a box could never be answered.
void InstallErrorBoxes();

} // namespace Flurr
