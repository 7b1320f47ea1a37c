#pragma once
// Command-line options for automation and designers. None of them changes
// anything when absent: a plain start plays the route from the beginning.

#include <cstdint>
#include <string>
#include <vector>

namespace Flurr {

struct LaunchOptions {
    int64_t frames = 0;     // quit after this many frames (0: never)
    float fixedDt = 0.0f;   // every frame gets this step (0: measured)
    std::string route;      // first route file instead of the one Route.zorvel names
    std::string saveOnExit; // write the objects here when the loop ends
    bool windowed = false;  // a decorated window instead of borderless full desktop
    bool noDraw = false;    // run every system but draw no frame (quick replays)
    int32_t width = 0;      // client size in pixels (0: the default for the mode)
    int32_t height = 0;
    std::string record;                // write every frame's input and step here
    std::string replay;                // play this recording instead of the devices and the clock
    int64_t screenshotAt = 0;          // write a screenshot after this frame (0: never)
    bool unlockFlight = false;         // the player starts able to fly
    bool unlockDash = false;           // ... and to dash
    std::vector<std::string> jobsDone; // jobs counted as done from the start
    bool help = false;
};

// Parses argv[1..]. On a bad option or value returns false and sets
// `error` to a one-line explanation.
bool ParseLaunchOptions(int argc, const char* const* argv, LaunchOptions& options,
                        std::string& error);

extern const char* const kUsageLine;
extern const char* const kHelpText;

} // namespace Flurr
