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

// The sizes the options screen offers: each size among the display's
// `modes` once (the first refresh rate listed), and the common 4:3 and 16:9
// sizes, all no larger than the desktop (`desktopWidth` x `desktopHeight`;
// 0 sets no limit), smallest first. A display that reports nothing of use
// gets the fallback list.
std::vector<DisplayMode> ResolutionChoices(const std::vector<DisplayMode>& modes,
                                           int32_t desktopWidth, int32_t desktopHeight);

// The entry of `choices` after the size width x height: the next one when
// that size is listed (the first after the last), else the first larger
// one, else the first. -1 for an empty list.
int32_t NextResolution(const std::vector<DisplayMode>& choices, int32_t width, int32_t height);

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
