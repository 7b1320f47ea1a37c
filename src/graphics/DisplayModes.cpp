#include "graphics/DisplayModes.h"

#include <cstdlib>
#include <limits>

namespace Flurr {

std::vector<DisplayMode> FallbackDisplayModes() {
    return {{800, 600, 60}, {1024, 768, 60}, {1280, 720, 60}, {1600, 900, 60}, {1920, 1080, 60}};
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
