#include "graphics/Screenshot.h"

namespace Flurr {

std::string ScreenshotFileName(int64_t calendarSeconds,
                               const std::function<bool(const std::string&)>& exists) {
    const std::string base = "screenshot_" + std::to_string(calendarSeconds);
    std::string name = base + ".png";
    for (int32_t n = 1; exists(name); ++n)
        name = base + "_" + std::to_string(n) + ".png";
    return name;
}

} // namespace Flurr
