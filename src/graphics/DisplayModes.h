#pragma once
// Display modes and the choice among them, as plain data.

#include <cstdint>
#include <vector>

namespace Flurr {

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t refreshRate = 0;
};

// The modes offered when the video driver reports none (the offscreen
// driver of headless runs).
std::vector<DisplayMode> FallbackDisplayModes();

// Walks `modes` in order, skipping the entry at `skipIndex` (the mode in
// use, so cycling can step through modes of one size at different
// refresh rates; -1 skips nothing). A mode of exactly width x height is
// taken at once; otherwise the one with the smallest
// |w - width| + |h - height| (the earliest on a tie). Writes the chosen
// size back and returns its index; -1, with the size untouched, when no
// mode is left to choose.
int32_t ChooseDisplayMode(const std::vector<DisplayMode>& modes, int32_t skipIndex, int32_t& width,
                          int32_t& height);

} // namespace Flurr
