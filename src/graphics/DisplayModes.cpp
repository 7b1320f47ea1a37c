#include "graphics/DisplayModes.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace Flurr {

std::vector<DisplayMode> FallbackDisplayModes() {
    return {{800, 600, 60}, {1024, 768, 60}, {1280, 720, 60}, {1600, 900, 60}, {1920, 1080, 60}};
}

std::vector<DisplayMode> ResolutionChoices(const std::vector<DisplayMode>& modes,
                                           int32_t desktopWidth, int32_t desktopHeight) {
    static constexpr DisplayMode kCommon[] = {
        {800, 600, 60},  {1024, 768, 60},  {1280, 720, 60},  {1280, 960, 60},  {1366, 768, 60},
        {1600, 900, 60}, {1600, 1200, 60}, {1920, 1080, 60}, {2560, 1440, 60}, {3840, 2160, 60}};
    const auto fits = [desktopWidth, desktopHeight](const DisplayMode& m) {
        return m.width > 0 && m.height > 0 && (desktopWidth <= 0 || m.width <= desktopWidth) &&
               (desktopHeight <= 0 || m.height <= desktopHeight);
    };
    std::vector<DisplayMode> choices;
    const auto add = [&choices, &fits](const DisplayMode& m) {
        if (!fits(m))
            return;
        for (const DisplayMode& o : choices)
            if (o.width == m.width && o.height == m.height)
                return;
        choices.push_back(m);
    };
    for (const DisplayMode& m : modes)
        add(m);
    if (choices.empty())
        return FallbackDisplayModes();
    for (const DisplayMode& m : kCommon)
        add(m);
    std::stable_sort(choices.begin(), choices.end(),
                     [](const DisplayMode& a, const DisplayMode& b) {
                         const int64_t areaA = static_cast<int64_t>(a.width) * a.height;
                         const int64_t areaB = static_cast<int64_t>(b.width) * b.height;
                         return areaA != areaB ? areaA < areaB : a.width < b.width;
                     });
    return choices;
}

int32_t NextResolution(const std::vector<DisplayMode>& choices, int32_t width, int32_t height) {
    const auto count = static_cast<int32_t>(choices.size());
    if (count == 0)
        return -1;
    const int64_t area = static_cast<int64_t>(width) * height;
    for (int32_t i = 0; i < count; ++i) {
        const DisplayMode& m = choices[static_cast<std::size_t>(i)];
        if (m.width == width && m.height == height)
            return (i + 1) % count;
    }
    for (int32_t i = 0; i < count; ++i) {
        const DisplayMode& m = choices[static_cast<std::size_t>(i)];
        if (static_cast<int64_t>(m.width) * m.height > area)
            return i;
    }
    return 0;
}

int32_t ChooseDisplayMode(const std::vector<DisplayMode>& modes, int32_t skipIndex, int32_t& width,
                          int32_t& height) {
    int32_t best = -1;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (int32_t i = 0; i < static_cast<int32_t>(modes.size()); ++i) {
        if (i == skipIndex)
            continue;
        const DisplayMode& m = modes[static_cast<std::size_t>(i)];
        if (m.width == width && m.height == height)
            return i;
        const int64_t distance = std::llabs(static_cast<int64_t>(m.width) - width) +
                                 std::llabs(static_cast<int64_t>(m.height) - height);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    if (best >= 0) {
        width = modes[static_cast<std::size_t>(best)].width;
        height = modes[static_cast<std::size_t>(best)].height;
    }
    return best;
}

} // namespace Flurr
