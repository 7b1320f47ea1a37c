#pragma once
// Screenshot file names: "screenshot_<calendar seconds>.png" in the
// screenshot folder (the player's pictures, see engine/Settings.h); a
// second shot in the same second gets "_1", then "_2" and so on, so no
// shot overwrites another. `exists` is asked about names in that folder.

#include <cstdint>
#include <functional>
#include <string>

namespace Flurr {

std::string ScreenshotFileName(int64_t calendarSeconds,
                               const std::function<bool(const std::string&)>& exists);

} // namespace Flurr
